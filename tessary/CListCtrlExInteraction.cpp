// The list's behaviour under the mouse and the keyboard: in-place editing,
// the whole-text window, sorting and the columns kept between sessions.
#include "CListCtrlExModel.h"
#include "settings/ProfileFile.h"
#include "tessary/CListCtrlEx.h"
#include "tessary/CoolDisplay.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScrollBar>

#include <algorithm>
#include <functional>

// --- Editing and the whole-text window ----------------------------------------

void CListCtrlEx::mousePressEvent(QMouseEvent* event)
{
    const int x = event->position().toPoint().x() + horizontalOffset();
    m_clickedColumn = -1;
    int right = 0;
    for (int c = 0; c < GetColumnCount(); ++c) {
        right += header()->sectionSize(c);
        if (right >= x) {
            m_clickedColumn = c;
            break;
        }
    }
    const QModelIndex index = indexAt(event->position().toPoint());
    const bool wasSelected = index.isValid() && selectionModel()->isRowSelected(index.row(), QModelIndex()) &&
                             currentIndex().row() == index.row();
    QTreeView::mousePressEvent(event);
    if (!index.isValid())
        return;
    emit itemClicked(index.row(), m_clickedColumn);
    // A click on a cell of a selected row edits it, as a label edit would,
    // in the lists that take what is typed there.
    if (m_inPlaceEditing && wasSelected && m_clickedColumn > 0 && event->button() == Qt::LeftButton)
        EditSubItem(index.row(), m_clickedColumn);
}

namespace {

// Ends the in-place edit when the editor loses the focus or Enter is hit.
class EditorWatcher : public QObject
{
public:
    EditorWatcher(QObject* parent, std::function<void()> finish)
        : QObject(parent), m_finish(std::move(finish))
    {
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::FocusOut) {
            m_finish();
        } else if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) {
                static_cast<QWidget*>(watched)->clearFocus();
                return true;
            }
        }
        return false;
    }

private:
    std::function<void()> m_finish;
};

} // namespace

bool CListCtrlEx::EditSubItem(int item, int column)
{
    QRect rect;
    if (column <= 0 || !GetSubItemRect(item, column, rect))
        return false;
    if (!m_editor) {
        m_editor = new QLineEdit(viewport());
        m_editor->setObjectName(QStringLiteral("1002"));
        m_editor->installEventFilter(new EditorWatcher(m_editor, [this] { FinishEdit(); }));
        connect(m_editor, &QLineEdit::textEdited, this, [this](const QString& text) {
            // The editor grows with its text while it stays inside the list.
            const int width = m_editor->fontMetrics().horizontalAdvance(text) + 10;
            if (m_editor->geometry().right() < viewport()->width() - 10 && width > m_editor->width())
                m_editor->resize(std::min(width, viewport()->width() - m_editor->x()), m_editor->height());
        });
    }
    m_editedItem = item;
    m_editedColumn = column;
    m_editor->setFont(FontFor(item, column));
    m_editor->setGeometry(rect);
    m_editor->setText(GetItemText(item, column));
    m_editor->show();
    m_editor->setFocus();
    m_editor->selectAll();
    return true;
}

void CListCtrlEx::FinishEdit()
{
    if (!m_editor || !m_editor->isVisible())
        return;
    m_editor->hide();
    // The text stays in the editor; the receiver takes it from there.
    emit endLabelEdit(m_editedItem, m_editedColumn);
}

bool CListCtrlEx::DisplayEntireItem(int item, int column)
{
    QRect rect;
    if (item < 0 || column < 0 || !GetSubItemRect(item, column, rect))
        return false;
    if (!m_entireWindow) {
        m_entireWindow = new QPlainTextEdit(viewport());
        m_entireWindow->setObjectName(QStringLiteral("1001"));
        m_entireWindow->setReadOnly(true);
    }
    QPalette colours = m_entireWindow->palette();
    colours.setColor(QPalette::Text, FromColorRef(GetSubItemForeColor(item, column)));
    colours.setColor(QPalette::Base, FromColorRef(GetSubItemBackColor(item, column)));
    m_entireWindow->setPalette(colours);
    m_entireWindow->setFont(FontFor(item, column));
    const QString text = GetItemText(item, column);
    const int scroll = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const QRect needed = QFontMetrics(m_entireWindow->font())
                             .boundingRect(QRect(0, 0, rect.width() - scroll, 10000), Qt::TextWordWrap, text);
    rect.setHeight(needed.height() + 6);
    rect.setWidth(rect.width() + 6);
    if (rect.bottom() > viewport()->height()) {
        rect.setBottom(viewport()->height());
        rect.setWidth(rect.width() + scroll);
        m_entireWindow->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    } else {
        m_entireWindow->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    }
    m_entireWindow->setGeometry(rect);
    m_entireWindow->setPlainText(text);
    m_entireWindow->show();
    return true;
}

void CListCtrlEx::HideEntireItem()
{
    if (m_entireWindow && m_entireWindow->isVisible())
        m_entireWindow->hide();
}

void CListCtrlEx::scrollContentsBy(int dx, int dy)
{
    if (dy != 0)
        HideEntireItem();
    QTreeView::scrollContentsBy(dx, dy);
}

void CListCtrlEx::keyPressEvent(QKeyEvent* event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && m_editor &&
        m_editor->isVisible() && m_clickedColumn > 0) {
        m_editor->hide();
        return;
    }
    QTreeView::keyPressEvent(event);
}

// --- Sorting --------------------------------------------------------------

void CListCtrlEx::Sort(int column, bool toggle)
{
    if (column == -1)
        column = m_lastSortColumn;
    if (column < 0 || column >= 50)
        return;
    if (column == m_lastSortColumn && toggle)
        m_directions[column] = m_directions[column] ? 0 : 1;
    m_lastSortColumn = column;
    if (!m_compare)
        return;
    // The heading shows which column the rows follow, and which way.
    header()->setSortIndicatorShown(true);
    header()->setSortIndicator(column, m_directions[column] ? Qt::DescendingOrder : Qt::AscendingOrder);
    const std::intptr_t value = static_cast<std::intptr_t>(m_directions[column]) * 65536 + column;
    // Keep the selection and the current row with their rows.
    std::vector<const CItemAttributes*> selected;
    for (int row : GetSelectedItems())
        selected.push_back(ItemAttributes(row));
    const CItemAttributes* current =
        currentIndex().isValid() ? ItemAttributes(currentIndex().row()) : nullptr;
    std::vector<Model::Row> rows = std::move(m_model->rows);
    // The rows' data are read once and sorted with their places; the rows
    // themselves then move once each.
    std::vector<std::pair<std::intptr_t, std::size_t>> keys(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i)
        keys[i] = {GetLParam(rows[i].attributes.get()), i};
    std::stable_sort(keys.begin(), keys.end(),
                     [&](const auto& a, const auto& b) { return m_compare(a.first, b.first, value) < 0; });
    std::vector<Model::Row> sorted;
    sorted.reserve(rows.size());
    for (const auto& key : keys)
        sorted.push_back(std::move(rows[key.second]));
    m_model->Reordered(std::move(sorted));
    selectionModel()->clearSelection();
    for (int i = 0; i < GetItemCount(); ++i) {
        const CItemAttributes* a = ItemAttributes(i);
        if (a == current)
            selectionModel()->setCurrentIndex(m_model->index(i, 0), QItemSelectionModel::NoUpdate);
        if (std::find(selected.begin(), selected.end(), a) != selected.end())
            SetItemState(i, StateSelected, StateSelected);
    }
}

int CListCtrlEx::SortDirection(int column) const
{
    return column >= 0 && column < 50 ? m_directions[column] : 0;
}

// --- Column persistence ------------------------------------------------------

void CListCtrlEx::SetPersistStorage(CRegistryAccess::Root root, const QString& subKey)
{
    m_persistKey = std::make_unique<CRegistryAccess>(root, subKey);
}

void CListCtrlEx::SetPersistStorage(const QString& file, const QString& section)
{
    m_persistFile = file;
    m_persistSection = section;
}

bool CListCtrlEx::StorePersistStorage()
{
    if (m_persistKey && m_persistKey->OpenKey()) {
        // One sub-key per column, "Column#<i>", below the list's key.
        for (int i = 0; i < GetColumnCount(); ++i) {
            const auto& column = m_model->columns[static_cast<std::size_t>(i)];
            const QString name = QStringLiteral("Column#%1/").arg(i);
            m_persistKey->SetValueData(name + QStringLiteral("nColumn"), static_cast<std::uint32_t>(i));
            m_persistKey->SetValueData(name + QStringLiteral("sColumnHeading"), column.heading.left(255));
            m_persistKey->SetValueData(name + QStringLiteral("nFormat"),
                                       static_cast<std::uint32_t>(column.format));
            m_persistKey->SetValueData(name + QStringLiteral("nWidth"),
                                       static_cast<std::uint32_t>(header()->sectionSize(i)));
            m_persistKey->SetValueData(name + QStringLiteral("nSubItem"),
                                       static_cast<std::uint32_t>(column.subItem));
        }
        return m_persistKey->CloseKey();
    }
    if (m_persistFile.isEmpty())
        return false;
    const ProfileFile file(m_persistFile.toStdString());
    const std::string section = m_persistSection.toStdString();
    file.WriteInt(section, "nColumnCount", GetColumnCount());
    for (int i = 0; i < GetColumnCount(); ++i) {
        const auto& column = m_model->columns[static_cast<std::size_t>(i)];
        const std::string n = "#" + std::to_string(i);
        file.WriteInt(section, "nColumn" + n, i);
        file.WriteString(section, "sColumnHeading" + n, column.heading.toStdString());
        file.WriteInt(section, "nFormat" + n, column.format);
        file.WriteInt(section, "nWidth" + n, header()->sectionSize(i));
        file.WriteInt(section, "nSubItem" + n, column.subItem);
    }
    return true;
}

bool CListCtrlEx::RestorePersistStorage()
{
    if (m_persistKey && m_persistKey->OpenKey()) {
        QStringList columns;
        m_persistKey->GetKeys(columns);
        bool any = false;
        for (const QString& name : columns) {
            std::uint32_t index = 0, format = 0, width = 0xFFFFFFFF, subItem = 0xFFFFFFFF;
            QString heading;
            m_persistKey->GetValueData(name + QStringLiteral("/nColumn"), index, true);
            m_persistKey->GetValueData(name + QStringLiteral("/sColumnHeading"), heading, true);
            m_persistKey->GetValueData(name + QStringLiteral("/nFormat"), format, true);
            m_persistKey->GetValueData(name + QStringLiteral("/nWidth"), width, true);
            m_persistKey->GetValueData(name + QStringLiteral("/nSubItem"), subItem, true);
            InsertColumn(static_cast<int>(index), heading, static_cast<int>(format), static_cast<int>(width),
                         static_cast<int>(subItem));
            any = true;
        }
        m_persistKey->CloseKey();
        return any;
    }
    if (m_persistFile.isEmpty())
        return false;
    const ProfileFile file(m_persistFile.toStdString());
    const std::string section = m_persistSection.toStdString();
    const int count = file.ReadInt(section, "nColumnCount", 0);
    if (count <= 0)
        return false;
    for (int i = 0; i < count; ++i) {
        const std::string n = "#" + std::to_string(i);
        InsertColumn(file.ReadInt(section, "nColumn" + n, 0),
                     QString::fromStdString(file.ReadString(section, "sColumnHeading" + n, "")),
                     file.ReadInt(section, "nFormat" + n, 0), file.ReadInt(section, "nWidth" + n, 0),
                     file.ReadInt(section, "nSubItem" + n, 0));
    }
    return true;
}
