// The options sheet and the properties sheets, driven on a copy of the
// sample dictionary; each page is grabbed to a picture.
#include "pages/Sheets.h"

#include "dictionary/FileList.h"
#include "dictionary/GeneralDictionary.h"
#include "engine/ResourceTree.h"
#include "engine/ScriptStatistics.h"
#include "gui/GuiTestSupport.h"
#include "gui/ProgramFixture.h"
#include "pages/OptionsPages.h"
#include "pages/PropertiesPages.h"
#include "preview/PreviewFonts.h"
#include "settings/Settings.h"
#include "tessary/CColorStatic.h"
#include "tessary/CRkCoolTabCtrl.h"
#include "tessary/CoolDisplay.h"
#include "views/CListCtrlBookmark.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>
#include <memory>
#include <utility>

namespace {

class Sheets : public SampleProgram
{
protected:
    Settings Ini() const { return Settings(dir.File("lorvo.ini")); }
    void GrabPages(PropertySheet& sheet, const QString& prefix)
    {
        sheet.resize(sheet.sizeHint().expandedTo(QSize(520, 360)));
        for (int i = 0; i < sheet.PageCount(); ++i) {
            sheet.Tabs()->setCurrentIndex(i);
            GrabToPng(&sheet, prefix + QString::number(i));
        }
    }
};

} // namespace

TEST_F(Sheets, GeneralOptionsAreReadAndWrittenOnOKOnly)
{
    EXPECT_TRUE(Frame()->Action(Cmd::Options)->isEnabled());
    {
        CSheetOptions sheet(&Doc(), Frame()->OriginalFont(), Frame()->TranslationFont(), Frame());
        EXPECT_EQ(sheet.windowTitle(), QStringLiteral("Options"));
        ASSERT_EQ(sheet.PageCount(), 3);
        CPageGeneral* general = sheet.General();
        // Without a stored texture: "Orange marble".
        EXPECT_EQ(general->TextureBox()->currentText(), QStringLiteral("Orange marble"));
        EXPECT_TRUE(general->CheckBox("1081")->isChecked());  // Center
        EXPECT_FALSE(general->CheckBox("1048")->isChecked()); // Reload
        EXPECT_EQ(general->TexturePreview()->GetBackGroundImage(), QStringLiteral("BACKGROUND_ORANGE"));
        general->CheckBox("1080")->setChecked(false);
        EXPECT_FALSE(general->TextureBox()->isEnabled());
        EXPECT_TRUE(general->TexturePreview()->GetBackGroundImage().isEmpty());
        general->CheckBox("1048")->setChecked(true);
        GrabPages(sheet, QStringLiteral("options-page-"));
        sheet.reject(); // Cancel writes nothing
    }
    EXPECT_FALSE(Ini().Get(Settings::Flag::Reload));
    EXPECT_TRUE(Ini().Get(Settings::Flag::ShowTexture));

    // Through the command, as the user does it.
    QTimer::singleShot(0, [] {
        auto* sheet = qobject_cast<CSheetOptions*>(QApplication::activeModalWidget());
        ASSERT_NE(sheet, nullptr);
        sheet->General()->CheckBox("1048")->setChecked(true);
        sheet->General()->TextureBox()->setCurrentIndex(5); // Sky
        sheet->findChild<QPushButton*>(QStringLiteral("1"))->click();
    });
    Frame()->Action(Cmd::Options)->trigger();
    EXPECT_TRUE(Ini().Get(Settings::Flag::Reload));
    EXPECT_EQ(Ini().Get(Settings::Text::MainViewTexture), "SKY");
}

TEST_F(Sheets, FontsStayAsStoredUnlessChangedAndNeedADictionary)
{
    const Settings ini = Ini();
    ini.Set(dic, Settings::DictionaryKey::OriginalFont, "Arial;100;0;1;0");
    {
        CSheetOptions sheet(&Doc(), Frame()->OriginalFont(), Frame()->TranslationFont(), Frame());
        CPageDictionary* page = sheet.Dictionary();
        const QFont sample = page->findChild<FontSample*>(QStringLiteral("1069"))->font();
        EXPECT_TRUE(sample.bold());
        EXPECT_EQ(sample.pixelSize(), 13);
        // OK without a change keeps the stored size (through the pixel
        // height it would come back as 97, then 90, a little smaller at
        // every OK).
        sheet.accept();
    }
    EXPECT_EQ(ini.Get(dic, Settings::DictionaryKey::OriginalFont), "Arial;100;0;1;0");
    {
        CSheetOptions sheet(&Doc(), Frame()->OriginalFont(), Frame()->TranslationFont(), Frame());
        QFont chosen(QStringLiteral("DejaVu Sans"));
        chosen.setPointSize(12);
        chosen.setItalic(true);
        sheet.Dictionary()->ChooseFont(1, chosen);
        sheet.Dictionary()->ListsBox()->setChecked(true);
        sheet.accept();
    }
    EXPECT_EQ(ini.Get(dic, Settings::DictionaryKey::TranslationFont), "DejaVu Sans;120;0;0;1");
    EXPECT_EQ(ini.Get(dic, Settings::DictionaryKey::SetFontLists), "1");

    // Without a dictionary the page offers nothing and writes nothing.
    CTrelvarDoc none;
    CSheetOptions sheet(&none, Frame()->OriginalFont(), Frame()->TranslationFont(), Frame());
    EXPECT_FALSE(sheet.Dictionary()->findChild<QPushButton*>(QStringLiteral("1070"))->isEnabled());
    EXPECT_FALSE(sheet.Dictionary()->ListsBox()->isEnabled());
}

TEST_F(Sheets, AFontChoiceNeverChangesTheCodePageOfTheTexts)
{
    // A Cyrillic dictionary that records no code page: its fonts tell it.
    const Settings ini = Ini();
    ini.Set(dic, Settings::DictionaryKey::TranslationFont, "Arial;100;204;0;0");
    Frame()->Documents()->AnnounceFonts();
    ASSERT_EQ(Doc().TranslationsCodePage(), 1251);
    {
        CSheetOptions sheet(&Doc(), Frame()->OriginalFont(), Frame()->TranslationFont(), Frame());
        EXPECT_EQ(sheet.Dictionary()->CodePageBox(1)->currentData().toInt(), 1251);
        EXPECT_EQ(sheet.Dictionary()->CodePageBox(0)->currentData().toInt(), 1252);
        QFont chosen(QStringLiteral("DejaVu Sans"));
        chosen.setPointSize(11);
        chosen.setBold(true);
        sheet.Dictionary()->ChooseFont(1, chosen);
        sheet.accept();
    }
    // The face, size and weight chosen; the character set kept.
    EXPECT_EQ(ini.Get(dic, Settings::DictionaryKey::TranslationFont), "DejaVu Sans;110;204;1;0");
    Frame()->Documents()->AnnounceFonts();
    EXPECT_EQ(Doc().TranslationsCodePage(), 1251);

    // Another code page is chosen on its own, and becomes the dictionary's.
    {
        CSheetOptions sheet(&Doc(), Frame()->OriginalFont(), Frame()->TranslationFont(), Frame());
        QComboBox* pages = sheet.Dictionary()->CodePageBox(1);
        pages->setCurrentIndex(pages->findData(1253));
        sheet.accept();
    }
    EXPECT_EQ(Doc().TranslationsCodePage(), 1253);
    EXPECT_TRUE(Doc().IsModified());
    EXPECT_EQ(ini.Get(dic, Settings::DictionaryKey::TranslationFont), "DejaVu Sans;110;161;1;0");
    ASSERT_TRUE(Doc().Save());
    EXPECT_NE(ReadBytes(dir.File("sample.fil")).find("\";\"1252/1253\""), std::string::npos);
}

TEST_F(Sheets, ColoursComeFromTheSettingsAndGoBackOnOK)
{
    {
        CSheetOptions sheet(&Doc(), Frame()->OriginalFont(), Frame()->TranslationFont(), Frame());
        CPageColor* page = sheet.Color();
        EXPECT_EQ(page->Colour(0), 255u);      // rectangle: red
        EXPECT_EQ(page->Colour(1), 16777215u); // odd lines: white
        EXPECT_EQ(page->Colour(2), 12632256u); // even lines: silver
        EXPECT_EQ(page->Colour(5), 8421504u);  // string-table results: grey
        page->ChooseColour(2, 0x00FFFF);
        EXPECT_EQ(page->Swatch(2)->GetBackColor(), 0x00FFFFu);
        sheet.accept();
    }
    EXPECT_EQ(Ini().Get(Settings::Colour::EvenLine), 0x00FFFFu);
    // The Dictionary window's lines take it after OK.
    CDlgGeneralDictionary* window = ShowDictionary();
    const CItemAttributes* lines = window->List()->GetInterlacedLineAttributes();
    ASSERT_EQ(lines->GetSize(), 2);
    EXPECT_EQ(lines->GetAt(1)->backColor, 0x00FFFFu);
}

TEST_F(Sheets, PropertiesShowLocationStatisticsAndTheShareTranslated)
{
    EXPECT_TRUE(Frame()->Action(Cmd::Properties)->isEnabled());
    CSheetProperties sheet(&Doc(), program->tree()->Model(), Frame());
    EXPECT_EQ(sheet.windowTitle(), QStringLiteral("Properties"));
    ASSERT_EQ(sheet.PageCount(), 3);
    auto* statistics = sheet.FindPage<CPageStatistics>();
    CListCtrlEx* list = statistics->List();
    ASSERT_EQ(list->GetItemCount(), 3); // the script, an empty row, the total
    EXPECT_TRUE(list->GetItemText(0, 0).endsWith(QStringLiteral("sample.rc")));
    EXPECT_EQ(list->GetItemText(0, 1), QStringLiteral("3"));
    EXPECT_EQ(list->GetItemText(0, 2), QStringLiteral("2"));
    EXPECT_EQ(list->GetItemText(0, 3), QStringLiteral("1"));
    EXPECT_EQ(list->GetItemText(1, 0), QString());
    EXPECT_EQ(list->GetItemText(2, 0), QStringLiteral("Total in 1 file(s)"));
    EXPECT_EQ(list->GetSubItemForeColor(2, 0), 0xFF0000u); // blue
    auto* graphic = sheet.FindPage<CPageGraphic>();
    EXPECT_EQ(graphic->TotalText()->text(), QStringLiteral("Texts : 64 (100%)"));
    EXPECT_EQ(graphic->TranslatedText()->text(), QStringLiteral("Translated texts : 37 (57.81%)"));
    EXPECT_EQ(graphic->UntranslatedText()->text(), QStringLiteral("Not translated texts : 27 (42.19%)"));
    EXPECT_NEAR(graphic->Pie()->TranslatedDegrees(), 208.125, 1e-9);
    GrabPages(sheet, QStringLiteral("properties-page-"));
    sheet.resize(900, 600); // the pie follows the page's size
    GrabToPng(&sheet, QStringLiteral("properties-page-2-large"));

    // Only the spelling of the folder changes: stored, nothing to save.
    auto* location = sheet.FindPage<CPageLocation>();
    Doc().SetModifiedFlag(false);
    const QString source = location->SourceFolder()->text();
    location->ChooseFolder(0, source.toUpper());
    location->OnApply();
    EXPECT_FALSE(Doc().IsModified());
    EXPECT_EQ(Doc().DefaultSourceFolder(), source.toUpper().toStdString());
    location->ChooseFolder(1, QString::fromStdString(dir.File("elsewhere")));
    location->OnApply();
    EXPECT_TRUE(Doc().IsModified());
    ASSERT_TRUE(Doc().Save());
    EXPECT_EQ(Doc().Files()->DefaultDestinationFolder(), dir.File("elsewhere"));
}

TEST_F(Sheets, TheFileNodeShowsItsSourceAndDestination)
{
    program->Select({"sample.rc"});
    QTimer::singleShot(0, [] {
        auto* sheet = qobject_cast<CSheetFileProperties*>(QApplication::activeModalWidget());
        ASSERT_NE(sheet, nullptr);
        ASSERT_EQ(sheet->PageCount(), 1);
        EXPECT_TRUE(
            sheet->findChild<QLabel*>(QStringLiteral("1067"))->text().endsWith(QStringLiteral("sample.rc")));
        EXPECT_FALSE(sheet->findChild<QLabel*>(QStringLiteral("1068"))->text().isEmpty());
        GrabToPng(sheet, QStringLiteral("file-properties"));
        sheet->reject();
    });
    program->tree()->OnFileProperties();
}

TEST(PieChart, EmptyAndFullDictionariesDrawOneSector)
{
    // The share of a dictionary as the properties count it: none, a
    // quarter and all of its texts translated.
    GeneralDictionary general;
    for (const char* text : {"One", "Two", "Three", "Four"})
        general.AddText(text, "");
    auto pieOf = [&](const QString& name) {
        auto page = std::make_unique<CPageGraphic>(ShareOf(general));
        page->resize(420, 260);
        GrabToPng(page.get(), name);
        return page;
    };
    auto none = pieOf(QStringLiteral("pie-none"));
    EXPECT_EQ(none->TotalText()->text(), QStringLiteral("Texts : 4 (100%)"));
    EXPECT_EQ(none->TranslatedText()->text(), QStringLiteral("Translated texts : 0 (0.00%)"));
    EXPECT_EQ(none->UntranslatedText()->text(), QStringLiteral("Not translated texts : 4 (100.00%)"));
    general.SetTranslation("One", "Un");
    auto quarter = pieOf(QStringLiteral("pie-quarter"));
    EXPECT_EQ(quarter->TranslatedText()->text(), QStringLiteral("Translated texts : 1 (25.00%)"));
    for (const char* text : {"Two", "Three", "Four"})
        general.SetTranslation(text, "x");
    auto all = pieOf(QStringLiteral("pie-full"));
    EXPECT_EQ(all->TranslatedText()->text(), QStringLiteral("Translated texts : 4 (100.00%)"));

    // What lies at a point of the circle: green, grey or a line between.
    auto colourAt = [](const CPageGraphic& page, int x, int y) {
        const QImage image = page.Pie()->grab().toImage();
        const QPoint centre(page.Pie()->width() / 2, page.Pie()->height() / 2);
        const int r = std::min(page.Pie()->width(), page.Pie()->height()) / 4;
        return image.pixelColor(centre + QPoint(x * r, y * r));
    };
    const QColor green(0, 255, 0), grey(128, 128, 128);
    // The green quarter lies above the centre, right of it; the rest is grey.
    EXPECT_EQ(colourAt(*quarter, 1, -1), green);
    EXPECT_EQ(colourAt(*quarter, -1, 1), grey);
    // A whole circle is one sector: no radius drawn where a sector would
    // begin (0 degrees, right of the centre), one colour all round.
    for (const auto& [x, y] : {std::pair{1, 0}, {0, -1}, {-1, 0}, {0, 1}, {1, 1}}) {
        EXPECT_EQ(colourAt(*all, x, y), green) << x << ',' << y;
        EXPECT_EQ(colourAt(*none, x, y), grey) << x << ',' << y;
    }
}
