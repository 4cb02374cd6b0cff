// Saving a list as an HTML table or separated text, and reading it back.
#include "dictionary/LineFile.h"
#include "tessary/CHtmlFileParser.h"
#include "tessary/CListCtrlEx.h"
#include "tessary/CoolDisplay.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

namespace {

QString Hex(std::uint32_t colorRef)
{
    return QStringLiteral("#%1%2%3")
        .arg(colorRef & 0xFF, 2, 16, QLatin1Char('0'))
        .arg((colorRef >> 8) & 0xFF, 2, 16, QLatin1Char('0'))
        .arg((colorRef >> 16) & 0xFF, 2, 16, QLatin1Char('0'))
        .toUpper();
}

char SeparatorFor(const QString& extension)
{
    if (extension.compare(QLatin1String("prn"), Qt::CaseInsensitive) == 0)
        return ' ';
    if (extension.compare(QLatin1String("csv"), Qt::CaseInsensitive) == 0)
        return ',';
    return '\t';
}

// The HTML size number of a font height in pixels.
int SizeNumber(int pixels)
{
    if (pixels <= 8)
        return 1;
    if (pixels <= 10)
        return 2;
    if (pixels <= 12)
        return 3;
    if (pixels <= 14)
        return 4;
    if (pixels <= 18)
        return 5;
    if (pixels <= 24)
        return 6;
    if (pixels <= 36)
        return 7;
    return 1;
}

int PixelHeight(const QFont& font)
{
    return font.pixelSize() > 0 ? font.pixelSize() : qRound(font.pointSizeF() * 96.0 / 72.0);
}

const QString kFilter = QString::fromUtf8("HTML (*.htm);;Texte (s\xC3\xA9parateur: espace) (*.prn);;"
                                          "Texte (s\xC3\xA9parateur: tabulation) (*.txt);;"
                                          "Texte (s\xC3\xA9parateur: virgule) (*.csv)");

// Text mode: every line end is written as CR LF.
void Write(LineFile& file, const QString& text, bool html)
{
    QByteArray bytes = ToAnsi(text, html);
    bytes.replace("\n", "\r\n");
    file.WriteRaw(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

bool PathAndExtension(QWidget* owner, QString& path, QString& extension, bool save)
{
    if (path.isEmpty()) {
        QString filter;
        path = save ? QFileDialog::getSaveFileName(owner, QString(), QString(), kFilter, &filter)
                    : QFileDialog::getOpenFileName(owner, QString(), QString(), kFilter, &filter);
        if (path.isEmpty())
            return false;
    }
    if (extension.isEmpty()) {
        const int dot = path.lastIndexOf(QLatin1Char('.'));
        if (dot >= 0)
            extension = path.mid(dot + 1);
    }
    return true;
}

} // namespace

QString CListCtrlEx::GetLine(int item, char separator) const
{
    QString line;
    for (int c = 0; c < GetColumnCount(); ++c) {
        if (!line.isEmpty())
            line += QLatin1Char(separator);
        line += GetItemText(item, c);
    }
    return line;
}

bool CListCtrlEx::SetLine(int item, const QString& line, char separator)
{
    const QStringList fields = line.split(QLatin1Char(separator), Qt::SkipEmptyParts);
    if (fields.isEmpty())
        return true;
    const int index = InsertItem(item, fields[0]);
    for (int k = 1; k < fields.size(); ++k) {
        if (!SetItemText(index, k, fields[k]))
            return false;
    }
    return true;
}

QString CListCtrlEx::GetHtml(int item, int column) const
{
    const std::uint32_t fore = GetSubItemForeColor(item, column);
    const std::uint32_t back = GetSubItemBackColor(item, column);
    const QFont* cellFont = GetSubItemFont(item, column);
    const QFont font = cellFont ? *cellFont : this->font();
    QString prefix = QStringLiteral("<font color=%1 face=%2 size=%3>")
                         .arg(Hex(fore), font.family())
                         .arg(SizeNumber(PixelHeight(font)));
    if (font.weight() == QFont::Bold)
        prefix += QStringLiteral("<strong>");
    if (font.italic())
        prefix += QStringLiteral("<em>");
    const QString text = GetItemText(item, column);
    return QStringLiteral("<td align=%1 bgcolor=%2 width=%3> %4 %5 </font> </td>")
        .arg(GetHtmlAlignment(column), Hex(back))
        .arg(header()->sectionSize(column))
        .arg(prefix, text.isEmpty() ? QStringLiteral("&nbsp;") : HtmlEscape(text));
}

bool CListCtrlEx::Save(const QString& givenPath, const QString& givenExtension, bool header)
{
    QString path = givenPath, extension = givenExtension;
    if (!PathAndExtension(this, path, extension, true))
        return false;
    LineFile file;
    if (!file.OpenForWriting(path.toStdString(), nullptr))
        return false;
    if (extension.compare(QLatin1String("htm"), Qt::CaseInsensitive) != 0) {
        const char separator = SeparatorFor(extension);
        for (int i = 0; i < GetItemCount(); ++i)
            Write(file, GetLine(i, separator) + QLatin1Char('\n'), false);
        return file.Close();
    }
    QString html = QStringLiteral("<html><body bgcolor=%1>").arg(Hex(CAttribute::m_staticBackColor));
    if (!font().family().isEmpty())
        html += QStringLiteral("<font face=%1>").arg(font().family());
    html += QStringLiteral("<table border=1>");
    if (header) {
        html += QStringLiteral("<tr>");
        const std::uint32_t face = ToColorRef(palette().color(QPalette::Button));
        for (int c = 0; c < GetColumnCount(); ++c)
            html += QStringLiteral("<th align=%1 bgcolor=%2 width=%3> %4 </th>\n")
                        .arg(GetHtmlAlignment(c), Hex(face))
                        .arg(this->header()->sectionSize(c))
                        .arg(HtmlEscape(GetColumnHeading(c).left(255)));
        html += QStringLiteral("</tr>");
    }
    Write(file, html, true);
    for (int i = 0; i < GetItemCount(); ++i) {
        QString row = QStringLiteral("<tr>");
        for (int c = 0; c < GetColumnCount(); ++c)
            row += GetHtml(i, c) + QLatin1Char('\n');
        row += QStringLiteral("</tr>");
        Write(file, row, true);
    }
    Write(file, QStringLiteral("</table></font></body></html>"), true);
    return file.Close();
}

bool CListCtrlEx::Open(const QString& givenPath, const QString& givenExtension, bool)
{
    QString path = givenPath, extension = givenExtension;
    if (!PathAndExtension(this, path, extension, false))
        return false;
    if (extension.compare(QLatin1String("htm"), Qt::CaseInsensitive) != 0) {
        LineFile file;
        if (!file.OpenForReading(path.toStdString()))
            return false;
        const char separator = SeparatorFor(extension);
        std::string line;
        int n = 0;
        for (auto length = file.ReadFirstLine(line); length >= 0; length = file.ReadLine(line))
            SetLine(n++, FromAnsi(line), separator);
        return true;
    }
    CHtmlFileParser parser(path);
    if (!parser.IsOpen())
        return false;
    QString element, text, firstFace;
    int column = -1, row = -1;
    const QFont* cellFont = nullptr;
    std::uint32_t fore = 0, back = 0;
    while (parser.ReadElement(element)) {
        const QString tag = CHtmlFileParser::GetTag(element);
        if (tag.isEmpty()) {
            text = element == QLatin1String("&nbsp;") ? QString() : HtmlUnescape(element);
        } else if (tag == QLatin1String("tr")) {
            column = -1;
        } else if (tag == QLatin1String("td")) {
            ++column;
            back = CHtmlFileParser::GetColor(QStringLiteral("bgcolor"), element);
            text.clear();
        } else if (tag == QLatin1String("font")) {
            const QString face = CHtmlFileParser::GetAttribute(QStringLiteral("face"), element);
            if (firstFace.isEmpty())
                firstFace = face;
            cellFont = nullptr;
            if (face != firstFace) {
                static const int heights[] = {20, 8, 10, 12, 14, 18, 24, 36};
                const int size = CHtmlFileParser::GetAttribute(QStringLiteral("size"), element).toInt();
                auto font = std::make_unique<QFont>(face);
                font->setPixelSize(size >= 1 && size <= 7 ? heights[size] : heights[0]);
                cellFont = m_ownedFonts.emplace_back(std::move(font)).get();
            }
            fore = CHtmlFileParser::GetColor(QStringLiteral("color"), element);
        } else if ((tag == QLatin1String("strong") || tag == QLatin1String("em")) && cellFont) {
            auto font = std::make_unique<QFont>(*cellFont);
            if (tag == QLatin1String("strong"))
                font->setBold(true);
            else
                font->setItalic(true);
            cellFont = m_ownedFonts.emplace_back(std::move(font)).get();
        } else if (tag == QLatin1String("/td")) {
            if (column == 0)
                row = InsertItem(GetItemCount(), text);
            else if (column > 0 && row >= 0)
                SetItemText(row, column, text);
            if (row >= 0 && column >= 0) {
                if (cellFont)
                    SetItemFont(row, column, cellFont);
                SetItemForeColor(row, column, fore);
                SetItemBackColor(row, column, back);
            }
        }
    }
    return true;
}

void CListCtrlEx::Print()
{
    QPrinter printer;
    printer.setDocName(QStringLiteral("Extended List Ctrl"));
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    QPainter painter(&printer);
    const QFontMetrics metrics(font(), &printer);
    const int line = metrics.height() + 4;
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    int y = line;
    for (int i = 0; i < GetItemCount(); ++i) {
        if (y + line > page.height()) {
            printer.newPage();
            y = line;
        }
        int x = 0;
        for (int c = 0; c < GetColumnCount(); ++c) {
            const int width = GetColumnWidth(c) * printer.resolution() / 96;
            painter.drawText(QRect(x, y, width, line), Qt::AlignLeft | Qt::AlignVCenter,
                             MakeShortString(metrics, GetItemText(i, c), width, 4));
            x += width;
        }
        y += line;
    }
}
