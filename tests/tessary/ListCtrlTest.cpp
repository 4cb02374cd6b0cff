#include "TestSupport.h"
#include "gui/GuiTestSupport.h"
#include "tessary/CExtendedListCtrl.h"
#include "tessary/CHtmlFileParser.h"
#include "tessary/CListCtrlEx.h"
#include "tessary/CoolDisplay.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QPainter>
#include <QPdfWriter>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

std::unique_ptr<CListCtrlEx> TwoColumnList(int rows)
{
    auto list = std::make_unique<CListCtrlEx>();
    list->InsertColumn(0, QStringLiteral("Original"), CListCtrlEx::FormatLeft, 150);
    list->InsertColumn(1, QStringLiteral("Translation"), CListCtrlEx::FormatLeft, 150);
    for (int i = 0; i < rows; ++i) {
        const int row = list->InsertItem(i, QStringLiteral("Text %1").arg(i));
        list->SetItemText(row, 1, QStringLiteral("Texte %1").arg(i));
        list->SetItemData(row, 100 + i);
    }
    return list;
}

void AlternateLines(CListCtrlEx& list, std::uint32_t odd, std::uint32_t even)
{
    for (std::uint32_t colour : {odd, even}) {
        auto line = std::make_unique<CAttribute>();
        line->SetForeColor(0);
        line->SetBackColor(colour);
        list.GetInterlacedLineAttributes()->Add(std::move(line));
    }
}

int CompareByData(std::intptr_t a, std::intptr_t b, std::intptr_t sortValue)
{
    const int direction = static_cast<int>(sortValue / 65536);
    const int result = a < b ? -1 : a > b ? 1 : 0;
    return direction ? -result : result;
}

} // namespace

TEST(CListCtrlEx, ColoursResolveFromCellRowColumnAndPhases)
{
    auto list = TwoColumnList(4);
    EXPECT_EQ(list->GetSubItemBackColor(0, 1), CAttribute::m_staticBackColor);
    EXPECT_TRUE(list->IsSubItemTransparent(0, 1));
    AlternateLines(*list, 0xFFFFFF, 0xC0C0C0);
    EXPECT_EQ(list->GetSubItemBackColor(0, 0), 0xFFFFFFu);
    EXPECT_EQ(list->GetSubItemBackColor(1, 1), 0xC0C0C0u);
    EXPECT_EQ(list->GetSubItemBackColor(2, 1), 0xFFFFFFu);
    EXPECT_FALSE(list->IsSubItemTransparent(1, 0));
    // A row's own colour (on its first cell) goes across the row.
    list->SetItemBackColor(2, 0, 0x00FF00);
    EXPECT_EQ(list->GetSubItemBackColor(2, 0), 0x00FF00u);
    EXPECT_EQ(list->GetSubItemBackColor(2, 1), 0x00FF00u);
    // A cell's own colour wins over its row's.
    list->SetItemForeColor(2, 1, 0x0000FF);
    EXPECT_EQ(list->GetSubItemForeColor(2, 1), 0x0000FFu);
    EXPECT_EQ(list->GetSubItemForeColor(2, 0), 0u);

    // Both phase lists: the channel-wise sum modulo 256.
    CListCtrlEx both;
    both.InsertColumn(0, QStringLiteral("A"));
    both.InsertItem(0, QStringLiteral("x"));
    auto line = std::make_unique<CAttribute>();
    line->SetBackColor(0x800000); // blue 128
    both.GetInterlacedLineAttributes()->Add(std::move(line));
    auto column = std::make_unique<CAttribute>();
    column->SetBackColor(0xC00000); // blue 192
    both.GetInterlacedColumnAttributes()->Add(std::move(column));
    EXPECT_EQ(both.GetSubItemBackColor(0, 0), 0x400000u);
    both.GetInterlacedColumnAttributes()->Add(
        std::make_unique<CAttribute>()); // a phase without colour counts black
    EXPECT_EQ(both.GetSubItemBackColor(0, 1), 0x800000u);

    // Fonts: cell, then row, then column.
    QFont columnFont(QStringLiteral("DejaVu Serif"));
    QFont rowFont(QStringLiteral("DejaVu Sans Mono"));
    list->SetColumnFont(1, &columnFont);
    EXPECT_EQ(list->GetSubItemFont(0, 1), &columnFont);
    EXPECT_EQ(list->GetSubItemFont(0, 0), nullptr);
    list->SetItemFont(0, 0, &rowFont);
    EXPECT_EQ(list->GetSubItemFont(0, 1), &rowFont);
}

TEST(CListCtrlEx, ItemsColumnsAndData)
{
    auto list = TwoColumnList(3);
    EXPECT_EQ(list->GetItemData(1), 101);
    EXPECT_EQ(list->GetIndex(102), 2);
    EXPECT_EQ(list->GetIndex(999), -1);
    EXPECT_TRUE(list->SetItemData(1, 7));
    EXPECT_EQ(list->GetItemData(1), 7);
    EXPECT_FALSE(list->SetItemData(9, 7));
    EXPECT_EQ(list->InsertItem(99, QStringLiteral("last")), 3); // past the end: appended
    EXPECT_EQ(list->GetItemText(3, 0), QStringLiteral("last"));
    EXPECT_FALSE(list->SetItemText(0, 5, QStringLiteral("no column")));
    EXPECT_TRUE(list->DeleteItem(0));
    EXPECT_EQ(list->GetItemText(0, 0), QStringLiteral("Text 1"));

    list->SetColumnWidth(0, 100);
    list->SetColumnWidth(1, 300);
    EXPECT_EQ(list->GetColumnWidth(0, true), 25);
    EXPECT_EQ(list->GetColumnWidth(1), 300);
    list->InsertColumn(2, QStringLiteral("Right"), CListCtrlEx::FormatRight, 50);
    list->InsertColumn(3, QStringLiteral("Centre"), CListCtrlEx::FormatCenter, 50);
    EXPECT_EQ(list->GetHtmlAlignment(2), QStringLiteral("Right"));
    EXPECT_EQ(list->GetAlignment(3), 2);
    EXPECT_EQ(list->GetAlignment(9), -1);
    EXPECT_EQ(list->GetColumnCount(), 4);
    EXPECT_TRUE(list->DeleteAllColumns());
    EXPECT_EQ(list->GetColumnCount(), 0);
}

TEST(CListCtrlEx, ShortStringsEndInDots)
{
    const QFontMetrics metrics(QApplication::font());
    const QString text = QStringLiteral("A rather long text for a narrow column");
    EXPECT_EQ(CListCtrlEx::MakeShortString(metrics, text, 1000, 12), text);
    EXPECT_EQ(CListCtrlEx::MakeShortString(metrics, QString(), 5, 12), QString());
    const QString shortened = CListCtrlEx::MakeShortString(metrics, text, 100, 12);
    EXPECT_TRUE(shortened.endsWith(QStringLiteral("...")));
    EXPECT_TRUE(text.startsWith(shortened.chopped(3)));
    EXPECT_LE(metrics.horizontalAdvance(shortened) + 12,
              100 + metrics.horizontalAdvance(QStringLiteral("W")));
    // One more character would not fit.
    const QString longer = text.left(shortened.size() - 3 + 1) + QStringLiteral("...");
    EXPECT_GT(metrics.horizontalAdvance(longer) + 12, 100);
    EXPECT_EQ(CListCtrlEx::MakeShortString(metrics, text, 1, 12), QStringLiteral("A..."));
}

TEST(CListCtrlEx, SortingTogglesTheDirectionOfTheSameColumn)
{
    auto list = TwoColumnList(5);
    list->SetCompareProcForSorting(CompareByData);
    list->SetItemState(1, CListCtrlEx::StateSelected, CListCtrlEx::StateSelected);
    list->Sort(3, true);
    EXPECT_EQ(list->SortDirection(3), 0);
    EXPECT_EQ(list->GetItemData(0), 100);
    list->Sort(3, true);
    EXPECT_EQ(list->SortDirection(3), 1);
    EXPECT_EQ(list->GetItemData(0), 104);
    EXPECT_EQ(list->GetSelectedItems(), QList<int>{3}); // the selection followed its row
    list->Sort(-1, false);
    EXPECT_EQ(list->SortDirection(3), 1);
    EXPECT_EQ(list->GetItemData(0), 104);
    // A click on a heading sorts that column.
    list->Sort(0, false);
    EXPECT_EQ(list->GetItemData(0), 100);
    emit list->header()->sectionClicked(0);
    EXPECT_EQ(list->GetItemData(0), 104);
}

TEST(CListCtrlEx, TextFilesWriteEveryColumnAndReadFieldsBack)
{
    TempDir dir;
    CListCtrlEx list;
    for (int c = 0; c < 3; ++c)
        list.InsertColumn(c, QStringLiteral("C%1").arg(c));
    list.InsertItem(0, QStringLiteral("a"));
    list.SetItemText(0, 2, QStringLiteral("c"));
    list.InsertItem(1, QString::fromUtf8("\xC3\xA9t\xC3\xA9"));
    list.SetItemText(1, 1, QStringLiteral("x y"));
    EXPECT_EQ(list.GetLine(0, ','), QStringLiteral("a,,c"));
    const QString csv = QString::fromStdString(dir.File("l.csv"));
    ASSERT_TRUE(list.Save(csv, QString(), true));
    EXPECT_EQ(ReadBytes(dir.File("l.csv")), "a,,c\r\n\xE9t\xE9,x y,\r\n");
    CListCtrlEx back;
    for (int c = 0; c < 3; ++c)
        back.InsertColumn(c, QStringLiteral("C%1").arg(c));
    ASSERT_TRUE(back.Open(csv, QString(), true));
    ASSERT_EQ(back.GetItemCount(), 2);
    EXPECT_EQ(back.GetItemText(0, 0), QStringLiteral("a"));
    EXPECT_EQ(back.GetItemText(0, 1), QStringLiteral("c"));
    EXPECT_EQ(back.GetItemText(1, 0), QString::fromUtf8("\xC3\xA9t\xC3\xA9"));

    ASSERT_TRUE(list.Save(QString::fromStdString(dir.File("l.prn")), QString(), true));
    EXPECT_EQ(ReadBytes(dir.File("l.prn")), "a  c\r\n\xE9t\xE9 x y \r\n");
    ASSERT_TRUE(list.Save(QString::fromStdString(dir.File("l.dat")), QString(), true));
    EXPECT_EQ(ReadBytes(dir.File("l.dat")), "a\t\tc\r\n\xE9t\xE9\tx y\t\r\n");
    EXPECT_FALSE(list.Save(QString::fromStdString(dir.File("none/l.csv")), QString(), true));
}

TEST(CListCtrlEx, AnEmptyHtmlTableHasNoLineBreak)
{
    TempDir dir;
    CListCtrlEx list;
    QFont font(QStringLiteral("Arial"));
    list.setFont(font);
    list.InsertColumn(0, QStringLiteral("Original"));
    CAttribute::m_staticBackColor = 0xFFFFFF;
    ASSERT_TRUE(list.Save(QString::fromStdString(dir.File("e.htm")), QString(), false));
    EXPECT_EQ(ReadBytes(dir.File("e.htm")),
              "<html><body bgcolor=#FFFFFF><font face=Arial><table border=1></table></font></body></html>");
}

TEST(CListCtrlEx, HtmlRoundTripsTextsColoursAndFonts)
{
    TempDir dir;
    CListCtrlEx list;
    list.setFont(QFont(QStringLiteral("Arial")));
    list.InsertColumn(0, QStringLiteral("Original"), CListCtrlEx::FormatLeft, 120);
    list.InsertColumn(1, QStringLiteral("A < B"), CListCtrlEx::FormatRight, 80);
    list.InsertItem(0, QStringLiteral("<none>"));
    list.SetItemText(0, 1, QString());
    list.InsertItem(1, QStringLiteral("a < b & \"c\""));
    list.SetItemText(1, 1, QString::fromUtf8("caf\xC3\xA9 \xE2\x82\xAC"));
    list.SetItemBackColor(1, 0, 0x00FFFF);
    list.SetItemForeColor(1, 1, 0x0000FF);
    QFont bold(QStringLiteral("Times"));
    bold.setPixelSize(14);
    bold.setBold(true);
    list.SetItemFont(1, 1, &bold);
    const QString path = QString::fromStdString(dir.File("l.htm"));
    ASSERT_TRUE(list.Save(path, QString(), true));
    const std::string html = ReadBytes(dir.File("l.htm"));
    EXPECT_NE(html.find("<th align=Right bgcolor=#"), std::string::npos);
    EXPECT_NE(html.find(" A &lt; B </th>\r\n"), std::string::npos);
    EXPECT_NE(html.find("<td align=Left bgcolor=#FFFF00 width=120> <font color=#000000 face=Arial size="),
              std::string::npos);
    EXPECT_NE(html.find("> &lt;none&gt; </font> </td>\r\n"), std::string::npos);
    EXPECT_NE(html.find("> &nbsp; </font> </td>\r\n"), std::string::npos);
    EXPECT_NE(html.find("<font color=#FF0000 face=Times size=4><strong> caf\xE9 \x80 </font> </td>"),
              std::string::npos);

    CListCtrlEx back;
    back.setFont(QFont(QStringLiteral("Arial")));
    back.InsertColumn(0, QStringLiteral("Original"));
    back.InsertColumn(1, QStringLiteral("Translation"));
    ASSERT_TRUE(back.Open(path, QString(), true));
    ASSERT_EQ(back.GetItemCount(), 2);
    EXPECT_EQ(back.GetItemText(0, 0), QStringLiteral("<none>"));
    EXPECT_EQ(back.GetItemText(0, 1), QString());
    EXPECT_EQ(back.GetItemText(1, 0), QStringLiteral("a < b & \"c\""));
    EXPECT_EQ(back.GetItemText(1, 1), QString::fromUtf8("caf\xC3\xA9 \xE2\x82\xAC"));
    EXPECT_EQ(back.GetSubItemBackColor(1, 0), 0x00FFFFu);
    EXPECT_EQ(back.GetSubItemForeColor(1, 1), 0x0000FFu);
    ASSERT_NE(back.GetSubItemFont(1, 1), nullptr);
    EXPECT_EQ(back.GetSubItemFont(1, 1)->family(), QStringLiteral("Times"));
    EXPECT_TRUE(back.GetSubItemFont(1, 1)->bold());
    EXPECT_EQ(back.GetSubItemFont(1, 1)->pixelSize(), 14);
}

TEST(CHtmlFileParser, ElementsTagsAndAttributes)
{
    TempDir dir;
    WriteBytes(dir.File("p.htm"), "<html>  <td align=Left\r\nbgcolor=#1020FF> some text  <b>\r\n</td>");
    CHtmlFileParser parser(QString::fromStdString(dir.File("p.htm")));
    QString element;
    ASSERT_TRUE(parser.ReadElement(element));
    EXPECT_EQ(element, QStringLiteral("<html>"));
    ASSERT_TRUE(parser.ReadElement(element));
    EXPECT_EQ(element, QStringLiteral("<td align=Leftbgcolor=#1020FF>"));
    EXPECT_EQ(CHtmlFileParser::GetTag(element), QStringLiteral("td"));
    EXPECT_EQ(CHtmlFileParser::GetColor(QStringLiteral("bgcolor"), element), 0xFF2010u);
    ASSERT_TRUE(parser.ReadElement(element));
    EXPECT_EQ(element, QStringLiteral("some text"));
    EXPECT_EQ(CHtmlFileParser::GetTag(element), QString());
    ASSERT_TRUE(parser.ReadTag(element));
    EXPECT_EQ(element, QStringLiteral("<b>"));
    ASSERT_TRUE(parser.ReadTag(element));
    EXPECT_EQ(CHtmlFileParser::GetTag(element), QStringLiteral("/td"));
    EXPECT_FALSE(parser.ReadElement(element));
    EXPECT_EQ(
        CHtmlFileParser::GetAttribute(QStringLiteral("face"), QStringLiteral("<font face=\"Arial Black\">")),
        QStringLiteral("Arial"));
    EXPECT_EQ(CHtmlFileParser::GetColor(QStringLiteral("color"), QStringLiteral("<font color=red>")), 0u);
}

TEST(CListCtrlEx, EditingACellReportsTheCellAndKeepsTheText)
{
    auto list = TwoColumnList(3);
    list->resize(400, 200);
    list->show();
    QApplication::processEvents();
    QSignalSpy ended(list.get(), &CListCtrlEx::endLabelEdit);
    // A click on a selected row's cell edits it only in lists that ask so.
    list->SetItemState(1, CListCtrlEx::StateSelected | CListCtrlEx::StateFocused,
                       CListCtrlEx::StateSelected | CListCtrlEx::StateFocused);
    QRect cell;
    ASSERT_TRUE(list->GetSubItemRect(1, 1, cell));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_TRUE(!list->InPlaceEditor() || !list->InPlaceEditor()->isVisible());
    list->SetInPlaceEditing(true);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
    ASSERT_NE(list->InPlaceEditor(), nullptr);
    EXPECT_TRUE(list->InPlaceEditor()->isVisible());
    QTest::keyClick(list->InPlaceEditor(), Qt::Key_Escape);
    ended.clear();
    EXPECT_FALSE(list->EditSubItem(1, 0)); // the first column is not edited here
    ASSERT_TRUE(list->EditSubItem(1, 1));
    QLineEdit* editor = list->InPlaceEditor();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(), QStringLiteral("Texte 1"));
    editor->setText(QStringLiteral("Nouveau"));
    QTest::keyClick(editor, Qt::Key_Return);
    ASSERT_EQ(ended.count(), 1);
    EXPECT_EQ(ended[0][0].toInt(), 1);
    EXPECT_EQ(ended[0][1].toInt(), 1);
    EXPECT_EQ(editor->text(), QStringLiteral("Nouveau"));
    EXPECT_EQ(list->GetItemText(1, 1), QStringLiteral("Texte 1")); // the receiver writes it
}

TEST(CListCtrlEx, TheWholeTextWindowShowsACell)
{
    auto list = TwoColumnList(2);
    list->resize(400, 200);
    list->show();
    list->SetItemText(0, 1, QString(300, QLatin1Char('w')));
    EXPECT_FALSE(list->DisplayEntireItem(-1, 1));
    ASSERT_TRUE(list->DisplayEntireItem(0, 1));
    EXPECT_TRUE(list->EntireItemWindow()->isVisible());
    EXPECT_EQ(list->EntireItemWindow()->toPlainText().size(), 300);
    list->HideEntireItem();
    EXPECT_FALSE(list->EntireItemWindow()->isVisible());
}

TEST(CListCtrlEx, ColumnsPersistInTheSettingsFileAndTheRegistry)
{
    TempDir dir;
    auto list = TwoColumnList(0);
    list->SetColumnWidth(1, 222);
    EXPECT_FALSE(list->StorePersistStorage());
    list->SetPersistStorage(QString::fromStdString(dir.File("l.ini")), QStringLiteral("List"));
    ASSERT_TRUE(list->StorePersistStorage());
    CListCtrlEx restored;
    restored.SetPersistStorage(QString::fromStdString(dir.File("l.ini")), QStringLiteral("List"));
    ASSERT_TRUE(restored.RestorePersistStorage());
    EXPECT_EQ(restored.GetColumnCount(), 2);
    EXPECT_EQ(restored.GetColumnHeading(1), QStringLiteral("Translation"));
    EXPECT_EQ(restored.GetColumnWidth(1), 222);

    list->SetPersistStorage(CRegistryAccess::Root::CurrentUser,
                            QStringLiteral("Software\\Tessary\\Lists\\Test"));
    ASSERT_TRUE(list->StorePersistStorage());
    CListCtrlEx fromRegistry;
    fromRegistry.SetPersistStorage(CRegistryAccess::Root::CurrentUser,
                                   QStringLiteral("Software\\Tessary\\Lists\\Test"));
    ASSERT_TRUE(fromRegistry.RestorePersistStorage());
    EXPECT_EQ(fromRegistry.GetColumnCount(), 2);
    EXPECT_EQ(fromRegistry.GetColumnWidth(1), 222);
}

TEST(CListCtrlEx, PaintedRowsAlternateAndHighlightTheSelection)
{
    auto list = TwoColumnList(6);
    AlternateLines(*list, 0xFFFFFF, 0xC0C0C0);
    list->SetItemBackColor(4, 0, 0x80FFFF); // a row of its own colour
    list->SetItemText(2, 1, QStringLiteral("A translation much too long for the width of its column"));
    list->SetItemState(3, CListCtrlEx::StateSelected | CListCtrlEx::StateFocused,
                       CListCtrlEx::StateSelected | CListCtrlEx::StateFocused);
    list->resize(320, 180);
    list->show();
    QApplication::processEvents();
    const QImage image = list->viewport()->grab().toImage();
    auto rowColour = [&](int row) {
        QRect r;
        list->GetSubItemRect(row, 1, r);
        return image.pixelColor(r.right() - 2, r.center().y());
    };
    EXPECT_EQ(rowColour(0), QColor(255, 255, 255));
    EXPECT_EQ(rowColour(1), QColor(192, 192, 192));
    EXPECT_EQ(rowColour(3), list->palette().color(QPalette::Highlight));
    EXPECT_EQ(rowColour(4), QColor(255, 255, 128));
    GrabToPng(list.get(), QStringLiteral("list-control"));
}

TEST(CExtendedListCtrl, PrintsToAPdfFile)
{
    TempDir dir;
    CExtendedListCtrl list;
    list.SetTitle(QStringLiteral("Dictionary"));
    list.InsertColumn(0, QStringLiteral("Original"));
    list.InsertColumn(1, QStringLiteral("Translation"));
    for (int i = 0; i < 150; ++i) {
        auto* item = new QTreeWidgetItem(&list);
        item->setText(0, QStringLiteral("Text %1").arg(i));
        item->setText(1, QStringLiteral("Texte %1").arg(i));
    }
    EXPECT_EQ(list.GetStrLength(0), 8);
    EXPECT_EQ(list.GetStrUpperLength(0), QStringLiteral("Text 100"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(dir.File("list.pdf")));
    QPainter painter(&printer);
    const int pages = list.Draw(painter, printer);
    painter.end();
    EXPECT_GE(pages, 2);
    const std::string pdf = ReadBytes(dir.File("list.pdf"));
    EXPECT_EQ(pdf.substr(0, 5), "%PDF-");
    EXPECT_TRUE(list.DeleteAllColumns());
    EXPECT_EQ(list.GetColumnCount(), 0);
}
