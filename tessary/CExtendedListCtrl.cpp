#include "tessary/CExtendedListCtrl.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QPainter>
#include <QPrinter>

CExtendedListCtrl::CExtendedListCtrl(QWidget* parent) : QTreeWidget(parent)
{
    setRootIsDecorated(false);
    setColumnCount(0);
}

int CExtendedListCtrl::InsertColumn(int column, const QString& heading, int format, int width, int)
{
    Q_UNUSED(format);
    column = std::clamp(column, 0, m_columns);
    QStringList headings;
    for (int c = 0; c < m_columns; ++c)
        headings << headerItem()->text(c);
    headings.insert(column, heading);
    setColumnCount(m_columns + 1);
    setHeaderLabels(headings);
    for (int i = 0; i < topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = topLevelItem(i);
        for (int c = m_columns; c > column; --c)
            item->setText(c, item->text(c - 1));
        item->setText(column, QString());
    }
    header()->resizeSection(column, width);
    return ++m_columns, column;
}

bool CExtendedListCtrl::DeleteColumn(int column)
{
    if (column < 0 || column >= m_columns)
        return false;
    QStringList headings;
    for (int c = 0; c < m_columns; ++c)
        headings << headerItem()->text(c);
    headings.removeAt(column);
    for (int i = 0; i < topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = topLevelItem(i);
        for (int c = column; c < m_columns - 1; ++c)
            item->setText(c, item->text(c + 1));
    }
    --m_columns;
    setColumnCount(std::max(m_columns, 0));
    setHeaderLabels(headings);
    return true;
}

bool CExtendedListCtrl::DeleteAllColumns()
{
    while (m_columns > 0) {
        if (!DeleteColumn(m_columns - 1))
            return false;
    }
    return true;
}

int CExtendedListCtrl::GetStrLength(int column) const
{
    int longest = 0;
    for (int i = 0; i < topLevelItemCount(); ++i)
        longest = std::max(longest, static_cast<int>(topLevelItem(i)->text(column).size()));
    return longest;
}

QString CExtendedListCtrl::GetStrUpperLength(int column) const
{
    const int longest = GetStrLength(column);
    for (int i = 0; i < topLevelItemCount(); ++i) {
        if (topLevelItem(i)->text(column).size() == longest)
            return topLevelItem(i)->text(column);
    }
    return {};
}

int CExtendedListCtrl::GetStrUpperLength(int column, const QFontMetrics& metrics) const
{
    int widest = 0;
    for (int i = 0; i < topLevelItemCount(); ++i)
        widest = std::max(widest, metrics.horizontalAdvance(topLevelItem(i)->text(column)));
    return widest;
}

int CExtendedListCtrl::Draw(QPainter& painter, QPrinter& printer)
{
    // Twips: 1440 to the inch, half an inch of margin on the left and top.
    const double twip = printer.resolution() / 1440.0;
    painter.save();
    painter.scale(twip, twip);
    QFont font = painter.font();
    font.setPointSizeF(font.pointSizeF() > 0 ? font.pointSizeF() : 10);
    painter.setFont(font);
    const QFontMetrics metrics(font, &printer);
    const int lineHeight = static_cast<int>((metrics.height() + metrics.leading()) / twip);
    std::vector<int> widths;
    for (int c = 0; c < m_columns; ++c)
        widths.push_back(header()->sectionSize(c) == 0
                             ? 0
                             : static_cast<int>((GetStrUpperLength(c, metrics) + metrics.maxWidth()) / twip));
    const int inches =
        printer.pageLayout().paintRectPixels(printer.resolution()).height() / printer.resolution();
    const int perPage = std::max(1, inches * 1440 / std::max(1, lineHeight) - 2);
    const int items = topLevelItemCount();
    const int pages = items / perPage + 1;
    for (int page = 0; page < pages; ++page) {
        if (page > 0)
            printer.newPage();
        if (page == 0) {
            QFont title = font;
            title.setBold(true);
            title.setPointSizeF(font.pointSizeF() * 2);
            painter.setFont(title);
            painter.drawText(720, 0, m_title);
            painter.setFont(font);
        }
        for (int j = 0; j < perPage; ++j) {
            const int item = j + page * perPage;
            int x = 720;
            for (int c = 0; c < m_columns; ++c) {
                if (widths[static_cast<std::size_t>(c)] == 0)
                    continue;
                if (j == 0) {
                    QFont heading = font;
                    heading.setWeight(QFont::DemiBold);
                    painter.setFont(heading);
                    painter.drawText(x, 720, headerItem()->text(c).left(256));
                    painter.setFont(font);
                }
                if (item < items)
                    painter.drawText(x, 720 + (j + 2) * lineHeight, topLevelItem(item)->text(c));
                x += widths[static_cast<std::size_t>(c)];
            }
            if (item >= items)
                break;
        }
    }
    painter.restore();
    return pages;
}
