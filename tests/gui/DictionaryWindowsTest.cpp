// Translating in the window: the "Dictionary" window and the "Texts of
// this resource" window, driven on a copy of the sample dictionary.
#include "app/CommandIds.h"
#include "app/DocumentCommands.h"
#include "dictionary/ContextDictionary.h"
#include "dictionary/FileList.h"
#include "dictionary/GeneralDictionary.h"
#include "dictionary/ScriptInsertion.h"
#include "engine/ScriptRuns.h"
#include "exchange/Spelling.h"
#include "gui/GuiTestSupport.h"
#include "gui/ProgramFixture.h"
#include "memory/TranslationMemory.h"
#include "pages/OptionsPages.h"
#include "pages/Sheets.h"
#include "preview/CDlgPreview.h"
#include "settings/Settings.h"
#include "tessary/CRkMessageBox.h"
#include "tessary/ModalAnswers.h"
#include "tessary/ProgramSettings.h"
#include "views/CListCtrlBookmark.h"
#include "windows/CDlgEntityDictionary.h"
#include "windows/CDlgGeneralDictionary.h"
#include "windows/MemoryMatches.h"
#include "windows/SpellingField.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QThreadPool>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

using DictionaryWindows = SampleProgram;

} // namespace

TEST_F(DictionaryWindows, ModifyChangesTheStoreOnlyOnOK)
{
    CDlgGeneralDictionary* window = ShowDictionary();
    ASSERT_TRUE(window->isVisible());
    EXPECT_TRUE(program->frame()->Action(Cmd::Dictionary)->isChecked());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Dictionary ( 64 texts ) "));
    CListCtrlEx* list = window->List();
    const int up = RowOf(list, QStringLiteral("Up"));
    ASSERT_GE(up, 0);
    SelectRow(list, up);
    EXPECT_EQ(window->TranslationEdit()->text(), QStringLiteral("Haut"));
    EXPECT_TRUE(window->ModifyButton()->isEnabled());
    window->TranslationEdit()->setText(QStringLiteral("En haut"));
    window->ModifyButton()->click();
    EXPECT_EQ(list->GetItemText(up, 1), QStringLiteral("En haut"));
    EXPECT_EQ(window->SelectedRow(), up + 1); // on to the next row
    EXPECT_EQ(Translation("Up"), "Haut");
    window->findChild<QPushButton*>(QStringLiteral("1"))->click(); // OK
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(Translation("Up"), "En haut");
    EXPECT_TRUE(WaitUntil([&] { return Doc().IsModified(); }));
    GrabToPng(window, QStringLiteral("dictionary-window"));
}

TEST_F(DictionaryWindows, OKShowsTheNewTranslationInThePreview)
{
    program->Tab(CDlgPreviewTabs::TabTranslation);
    program->Select({"sample.rc", "Dialog boxes", "IDD_DIALOG1"});
    ASSERT_NE(program->tree()->DialogPreview(), nullptr);
    EXPECT_EQ(program->tree()->DialogPreview()->Caption(), QStringLiteral("Rechercher"));
    CDlgGeneralDictionary* window = ShowDictionary();
    SelectRow(window->List(), RowOf(window->List(), QStringLiteral("Find")));
    window->TranslationEdit()->setText(QStringLiteral("Chercher"));
    window->ModifyButton()->click();
    window->OnOK();
    EXPECT_TRUE(WaitUntil([&] {
        return program->tree()->DialogPreview() &&
               program->tree()->DialogPreview()->Caption() == QStringLiteral("Chercher");
    }));
}

TEST_F(DictionaryWindows, CancelDropsTheListEditsAndTheNextShowRebuilds)
{
    CDlgGeneralDictionary* window = ShowDictionary();
    CListCtrlEx* list = window->List();
    const int down = RowOf(list, QStringLiteral("Down"));
    SelectRow(list, down);
    window->TranslationEdit()->setText(QStringLiteral("Vers le bas"));
    window->ModifyButton()->click();
    // Cancel asks whether to keep the changed rows: No drops them.
    ModalAnswers::Clear();
    ModalAnswers::Push(CRkMessageBox::IdNo);
    window->findChild<QPushButton*>(QStringLiteral("2"))->click(); // Cancel
    ASSERT_EQ(ModalAnswers::Shown().size(), 1);
    EXPECT_EQ(ModalAnswers::Shown()[0], QStringLiteral("Would you like to save the general dictionary ?"));
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(Translation("Down"), "Bas");
    window = ShowDictionary();
    EXPECT_EQ(list->GetItemText(RowOf(list, QStringLiteral("Down")), 1), QStringLiteral("Bas"));

    // Modify on the last row goes round to the first.
    SelectRow(list, list->GetItemCount() - 1);
    window->ModifyButton()->click();
    EXPECT_EQ(window->SelectedRow(), 0);

    // A character the code page lacks is refused.
    SelectRow(list, down);
    window->TranslationEdit()->setText(QString::fromUtf8("\xCE\xA9 bas"));
    ModalAnswers::Clear();
    window->ModifyButton()->click();
    ASSERT_EQ(ModalAnswers::Shown().size(), 1);
    EXPECT_TRUE(ModalAnswers::Shown()[0].contains(QStringLiteral("cannot be written in the code page")));
    EXPECT_EQ(list->GetItemText(down, 1), QStringLiteral("Bas"));
}

TEST_F(DictionaryWindows, DoNotTranslateTogglesTheMarkAndTheOverlay)
{
    CDlgGeneralDictionary* window = ShowDictionary();
    CListCtrlEx* list = window->List();
    const int row = RowOf(list, QStringLiteral("Sample"));
    SelectRow(list, row);
    QAction* action = program->frame()->Action(Cmd::DoNotTranslate);
    program->frame()->UpdateActions();
    ASSERT_TRUE(action->isEnabled());
    EXPECT_FALSE(action->isChecked());
    action->trigger();
    EXPECT_TRUE(Doc().General()->IsDoNotTranslate("Sample"));
    EXPECT_EQ(list->GetItemOverlay(row), 1);
    EXPECT_TRUE(action->isChecked());
    action->trigger();
    EXPECT_FALSE(Doc().General()->IsDoNotTranslate("Sample"));
    EXPECT_EQ(list->GetItemOverlay(row), 2);
}

TEST_F(DictionaryWindows, BookmarksFollowTheRowsWhenTheListIsSorted)
{
    CDlgGeneralDictionary* window = ShowDictionary();
    auto* list = static_cast<CListCtrlBookmark*>(window->List());
    const int red = RowOf(list, QStringLiteral("Red"));
    const int up = RowOf(list, QStringLiteral("Up"));
    list->AddBookmark(red);
    list->AddBookmark(up);
    window->SortByColumn(1); // by translation: Haut before Rouge
    list->setFocus();
    SelectRow(list, 0);
    QTest::keyClick(list, Qt::Key_F2);
    EXPECT_EQ(list->GetItemText(list->GetCurrentRow(), 0), QStringLiteral("Up"));
    QTest::keyClick(list, Qt::Key_F2);
    EXPECT_EQ(list->GetItemText(list->GetCurrentRow(), 0), QStringLiteral("Red"));
    QTest::keyClick(list, Qt::Key_F2);
    EXPECT_EQ(list->GetItemText(list->GetCurrentRow(), 0), QStringLiteral("Up"));
}

TEST_F(DictionaryWindows, TheTextsWindowStoresInContextTranslationsAndShortcuts)
{
    CDlgEntityDictionary* texts = ShowTexts({"sample.rc", "Menus", "IDR_MAINFRAME"});
    ASSERT_NE(texts, nullptr);
    EXPECT_TRUE(texts->isVisible());
    const auto* menuPreview = program->tree()->MenuPreview();
    EXPECT_TRUE(menuPreview == nullptr || !menuPreview->isVisible());
    CListCtrlEx* list = texts->List();
    EXPECT_EQ(list->GetItemCount(), 24);
    EXPECT_EQ(texts->windowTitle(), QStringLiteral("Texts of this resource ( 24 texts ) "));
    const int file = RowOf(list, QStringLiteral("File"));
    ASSERT_GE(file, 0);
    SelectRow(list, file);
    EXPECT_EQ(texts->DictionaryEdit()->text(), QStringLiteral("Fichier"));
    EXPECT_EQ(texts->ShortcutEdit()->text(), QStringLiteral("F"));
    // A letter that is not in the translation shown is refused.
    texts->ShortcutEdit()->clear();
    QTest::keyClicks(texts->ShortcutEdit(), QStringLiteral("z"));
    EXPECT_EQ(texts->ShortcutEdit()->text(), QString());
    texts->ContextEdit()->setText(QStringLiteral("Fichier"));
    texts->ShortcutEdit()->clear();
    QTest::keyClicks(texts->ShortcutEdit(), QStringLiteral("h"));
    EXPECT_EQ(texts->ShortcutEdit()->text(), QStringLiteral("h"));
    texts->ModifyButton()->click();
    EXPECT_EQ(list->GetItemText(file, 2), QStringLiteral("Fichier"));
    EXPECT_EQ(list->GetItemText(file, 3), QStringLiteral("h"));
    const std::string source = Doc().Files()->Files().begin()->value.source;
    const ContextEntry* entry =
        ContextDictionary::FindEntry(*Doc().Context()->FindFile(source), "IDR_MAINFRAME+File");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->contextTranslation, "Fichier");
    EXPECT_EQ(entry->shortcut, 4);
    EXPECT_TRUE(Doc().IsModified());
    GrabToPng(texts, QStringLiteral("texts-window"));

    program->frame()->Action(Cmd::FileSave)->trigger();
    const std::string ent = ReadBytes(dir.File("sample.ent"));
    EXPECT_NE(ent.find("+IDR_MAINFRAME+File\"\xA4\"File\"\xA4\"Fichier\"\xA4\"4\""), std::string::npos);

    // Clear empties the three and leaves no shortcut.
    SelectRow(list, file);
    texts->ClearButton()->click();
    EXPECT_EQ(entry->shortcut, -1);
    EXPECT_EQ(entry->contextTranslation, "");
    EXPECT_EQ(Translation("File"), "");

    // A category hides the window.
    program->Select({"sample.rc", "Menus"});
    EXPECT_FALSE(texts->isVisible());
    program->Select({"sample.rc", "Stringtable"});
    EXPECT_TRUE(texts->isVisible());
    EXPECT_EQ(texts->ResourcePrefix(), "STRINGTABLE+");
}

TEST(TextsWindow, ResourcesWhoseNamesSharePrefixesKeepTheirOwnTexts)
{
    TempDir dir;
    const std::string script = dir.File("prefix.rc");
    WriteBytes(script, "IDD_A DIALOG 0, 0, 100, 50\r\nBEGIN\r\n    LTEXT \"Alpha\",1,1,1,10,10\r\nEND\r\n"
                       "IDD_AB DIALOG 0, 0, 100, 50\r\nBEGIN\r\n    LTEXT \"Beta\",1,1,1,10,10\r\n"
                       "    LTEXT \"Gamma\",2,1,1,10,10\r\nEND\r\n");
    {
        CTrelvarDoc doc;
        ASSERT_TRUE(doc.CreateDictionary("prefix", dir.Path().string(), "", dir.Path().string()));
        ASSERT_EQ(InsertScript(*doc.Files(), script, "", dir.File("out")).message, 0);
        ExtractScripts(doc, {script}, nullptr, nullptr, nullptr);
        doc.Save();
    }
    Program program(dir.File("lorvo.ini"), {QString::fromStdString(dir.File("prefix.dic"))});
    program.Select({"prefix.rc", "Dialog boxes", "IDD_A"});
    program.Tab(CDlgPreviewTabs::TabTexts);
    CDlgEntityDictionary* texts = program.frame()->TextsWindow();
    ASSERT_NE(texts, nullptr);
    ASSERT_EQ(texts->List()->GetItemCount(), 1);
    EXPECT_EQ(texts->List()->GetItemText(0, 0), QStringLiteral("Alpha"));
    program.Select({"prefix.rc", "Dialog boxes", "IDD_AB"});
    EXPECT_EQ(texts->List()->GetItemCount(), 2);
}

TEST(TextsWindow, ShowsTheTextsOfARealScript)
{
    const std::filesystem::path corpus = CorpusDir();
    if (corpus.empty())
        GTEST_SKIP() << "the corpus of real scripts is not available";
    const std::filesystem::path script =
        corpus /
        "VCSamples/VC2010Samples/MFC/Visual C++ 2008 Feature Pack/MSOffice2007Demo/MSOffice2007Demo.rc";
    if (!std::filesystem::exists(script))
        GTEST_SKIP() << "the script is not in this corpus";
    TempDir dir;
    {
        CTrelvarDoc doc;
        ASSERT_TRUE(doc.CreateDictionary("office", dir.Path().string(), "", dir.Path().string()));
        ASSERT_EQ(InsertScript(*doc.Files(), script.string(), "", dir.File("out")).message, 0);
        ExtractScripts(doc, {script.string()}, nullptr, nullptr, nullptr);
        doc.Save();
    }
    Program program(dir.File("lorvo.ini"), {QString::fromStdString(dir.File("office.dic"))});
    program.Select({"MSOffice2007Demo.rc", "Dialog boxes", "IDD_POPULAR_PAGE"});
    program.Tab(CDlgPreviewTabs::TabTexts);
    CDlgEntityDictionary* texts = program.frame()->TextsWindow();
    ASSERT_NE(texts, nullptr);
    EXPECT_GT(texts->List()->GetItemCount(), 5);
    // The combo-box strings of its DLGINIT block are texts of the dialog.
    EXPECT_GE(RowOf(texts->List(), QStringLiteral("Blue")), 0);
}

TEST_F(DictionaryWindows, RowsSortWithoutRegardToCaseAccentedOnesToo)
{
    // The sample's texts and a few that mix case, accents and prefixes.
    for (const char* text : {"\xC9"
                             "cran",
                             "ecran", "Ab", "aB", "abc", "Zone",
                             "\xE9"
                             "t\xE9",
                             "ETE"})
        Doc().General()->AddText(text, "");
    Doc().MarkChanged(CTrelvarDoc::GeneralChanged);
    CDlgGeneralDictionary* window = ShowDictionary();
    CListCtrlEx* list = window->List();
    QStringList shown;
    for (int row = 0; row < list->GetItemCount(); ++row)
        shown << list->GetItemText(row, 0);
    // Every neighbour pair is in the order Qt gives without regard to case.
    for (int i = 1; i < shown.size(); ++i)
        EXPECT_LE(shown[i - 1].compare(shown[i], Qt::CaseInsensitive), 0)
            << shown[i - 1].toStdString() << " / " << shown[i].toStdString();
    EXPECT_EQ(shown.indexOf(QStringLiteral("Ab")) + 1, shown.indexOf(QStringLiteral("aB")));

    // A click on the heading sorts by that column, the next one the other
    // way; the heading shows which.
    QHeaderView* header = list->header();
    auto firstAndLast = [&] {
        return std::make_pair(list->GetItemText(0, 0), list->GetItemText(list->GetItemCount() - 1, 0));
    };
    const auto ascending = firstAndLast();
    emit header->sectionClicked(0);
    const auto once = firstAndLast();
    emit header->sectionClicked(0);
    const auto twice = firstAndLast();
    EXPECT_NE(once, twice);
    EXPECT_EQ(std::make_pair(once.second, once.first), twice);
    EXPECT_TRUE(once == ascending || twice == ascending);
    EXPECT_TRUE(header->isSortIndicatorShown());
    EXPECT_EQ(header->sortIndicatorSection(), 0);
    EXPECT_EQ(header->sortIndicatorOrder(), twice == ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
}

TEST_F(DictionaryWindows, TheMemoryOffersItsMatchesAndCtrlTakesOne)
{
    // Another dictionary of the same language translated "Find Next" once.
    std::string error;
    auto memory = TranslationMemory::Open(TranslationMemory::DefaultPath(), error);
    ASSERT_TRUE(memory) << error;
    ASSERT_TRUE(memory->ReplaceSource("/elsewhere/other.dic",
                                      {{"Find next", "Chercher le suivant", {}, "cp1252", "cp1252"},
                                       {"Find", "Trouver", {}, "cp1252", "cp1252"}},
                                      error));
    CDlgGeneralDictionary* window = ShowDictionary();
    CListCtrlEx* list = window->List();
    SelectRow(list, RowOf(list, QStringLiteral("Find Next")));
    window->Matches()->WaitForLookup();
    ASSERT_TRUE(WaitUntil([&] { return window->Matches()->List()->topLevelItemCount() > 0; }));
    QTreeWidgetItem* best = window->Matches()->List()->topLevelItem(0);
    EXPECT_EQ(best->text(1), QStringLiteral("Chercher le suivant"));
    EXPECT_TRUE(best->text(0).endsWith(QStringLiteral("%")));
    EXPECT_EQ(best->text(3), QStringLiteral("other.dic"));
    EXPECT_EQ(window->OriginalEdit()->cursorPosition(), 0); // read from its beginning
    GrabToPng(window, QStringLiteral("dictionary-memory"));
    window->TranslationEdit()->setFocus();
    QTest::keyClick(window->TranslationEdit(), Qt::Key_1, Qt::ControlModifier);
    EXPECT_EQ(window->TranslationEdit()->text(), QStringLiteral("Chercher le suivant"));
    // A text of another language is not offered.
    ASSERT_TRUE(memory->ReplaceSource("/elsewhere/other.dic",
                                      {{"Find next", "Weitersuchen", {}, "cp1252", "cp1250"}}, error));
    SelectRow(list, RowOf(list, QStringLiteral("Up")));
    SelectRow(list, RowOf(list, QStringLiteral("Find Next")));
    window->Matches()->WaitForLookup();
    QApplication::processEvents();
    for (int n = 0; n < window->Matches()->List()->topLevelItemCount(); ++n)
        EXPECT_NE(window->Matches()->MatchTranslation(n), QStringLiteral("Weitersuchen"));
}

TEST_F(DictionaryWindows, UntranslatedTextsTheMemoryKnowsExactlyShowIt)
{
    std::string error;
    auto memory = TranslationMemory::Open(TranslationMemory::DefaultPath(), error);
    ASSERT_TRUE(memory) << error;
    ASSERT_TRUE(memory->ReplaceSource(
        "/elsewhere/other.dic",
        {{"As Text", "En texte", {}, "cp1252", "cp1252"}, {"Exit", "Sortir", {}, "cp1252", "cp1252"}},
        error));
    memory.reset();
    // "As Text" untranslated here and known there; "Exit" translated here;
    // "As HTML" unknown.
    CDlgGeneralDictionary* window = ShowDictionary();
    window->Matches()->WaitForLookup();
    QApplication::processEvents();
    CListCtrlEx* list = window->List();
    EXPECT_EQ(window->ExactRows(), 1);
    EXPECT_EQ(list->GetSubItemForeColor(RowOf(list, QStringLiteral("As Text")), 0),
              CDlgDictionaryBase::kExactMatchColour);
    for (const char* other : {"Exit", "As HTML"})
        EXPECT_NE(list->GetSubItemForeColor(RowOf(list, QString::fromLatin1(other)), 0),
                  CDlgDictionaryBase::kExactMatchColour)
            << other;
}

TEST_F(DictionaryWindows, ASaveTeachesTheMemory)
{
    CDlgGeneralDictionary* window = ShowDictionary();
    SelectRow(window->List(), RowOf(window->List(), QStringLiteral("Up")));
    window->TranslationEdit()->setText(QStringLiteral("Vers le haut"));
    window->ModifyButton()->click();
    window->OnOK();
    ASSERT_TRUE(program->frame()->Documents()->OnFileSave());
    QThreadPool::globalInstance()->waitForDone();
    std::string error;
    auto memory = TranslationMemory::Open(TranslationMemory::DefaultPath(), error);
    ASSERT_TRUE(memory) << error;
    // The memory is the user's: other tests' dictionaries may be in it.
    bool learnt = false;
    for (const MemoryMatch& match : memory->Find("Up", 50, 100))
        learnt = learnt || (match.source == Doc().PathName() && match.translation == "Vers le haut");
    EXPECT_TRUE(learnt);
}

TEST_F(DictionaryWindows, TheTranslationFieldBehavesLikeATranslatorsEditor)
{
    CDlgGeneralDictionary* window = ShowDictionary();
    CListCtrlEx* list = window->List();
    const int up = RowOf(list, QStringLiteral("Up"));
    SelectRow(list, up);
    QLineEdit* field = window->TranslationEdit();
    field->setFocus();
    // Escape first undoes what was typed; the window stays.
    QTest::keyClicks(field, QStringLiteral(" typo"));
    QTest::keyClick(field, Qt::Key_Escape);
    EXPECT_EQ(field->text(), QStringLiteral("Haut"));
    EXPECT_TRUE(window->isVisible());
    // Down goes to the next row and keeps what was typed in its row.
    field->setText(QStringLiteral("En haut"));
    QTest::keyClick(field, Qt::Key_Down);
    EXPECT_EQ(window->SelectedRow(), up + 1);
    EXPECT_EQ(list->GetItemText(up, 1), QStringLiteral("En haut"));
    EXPECT_TRUE(field->hasFocus() || !window->isActiveWindow());
    QTest::keyClick(field, Qt::Key_Up);
    EXPECT_EQ(window->SelectedRow(), up);
    // Ctrl+Enter is OK.
    QTest::keyClick(field, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(Translation("Up"), "En haut");
}

TEST_F(DictionaryWindows, TheTextsWindowsFieldsBehaveLikeATranslatorsEditorToo)
{
    CDlgEntityDictionary* texts = ShowTexts({"sample.rc", "Menus", "IDR_MAINFRAME"});
    ASSERT_NE(texts, nullptr);
    CListCtrlEx* list = texts->List();
    const int file = RowOf(list, QStringLiteral("File"));
    SelectRow(list, file);
    QLineEdit* context = texts->ContextEdit();
    context->setFocus();
    // Escape undoes what was typed in any of the fields; the window stays.
    QTest::keyClicks(context, QStringLiteral("typo"));
    QTest::keyClick(context, Qt::Key_Escape);
    EXPECT_EQ(context->text(), QString());
    EXPECT_TRUE(texts->isVisible());
    // Down goes to the next row shown and stores what was typed.
    context->setText(QStringLiteral("Fich."));
    QTest::keyClick(context, Qt::Key_Down);
    EXPECT_NE(texts->SelectedRow(), file);
    EXPECT_EQ(list->GetItemText(file, 2), QStringLiteral("Fich."));
    QTest::keyClick(context, Qt::Key_Up);
    EXPECT_EQ(texts->SelectedRow(), file);
    EXPECT_EQ(context->text(), QStringLiteral("Fich."));
    // Ctrl+Enter keeps what was typed and closes the window.
    texts->DictionaryEdit()->setText(QStringLiteral("Fichiers"));
    QTest::keyClick(texts->DictionaryEdit(), Qt::Key_Return, Qt::ControlModifier);
    EXPECT_FALSE(texts->isVisible());
    EXPECT_EQ(Translation("File"), "Fichiers");
}

TEST_F(DictionaryWindows, TheTextsWindowComesBackAfterACommandThatHidIt)
{
    CDlgEntityDictionary* texts = ShowTexts({"sample.rc", "Menus", "IDR_MAINFRAME"});
    ASSERT_NE(texts, nullptr);
    ASSERT_TRUE(texts->isVisible());
    // Each command's dialog closed at once, as a user who changes nothing.
    for (const int command : {Cmd::Properties, Cmd::Import, Cmd::Export}) {
        QTimer::singleShot(0, [] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                dialog->reject();
        });
        program->frame()->Action(command)->trigger();
        QApplication::processEvents();
        EXPECT_TRUE(texts->isVisible()) << command;
        EXPECT_EQ(texts->List()->GetItemCount(), 24) << command;
    }
}

TEST_F(DictionaryWindows, TheStatusBarsCountsFollowEveryChange)
{
    auto* counts = Frame()->statusBar()->findChild<QLabel*>(QStringLiteral("dictionaryCounts"));
    ASSERT_NE(counts, nullptr);
    Frame()->ShowRunSummary(QStringLiteral("1 file(s) extracted"));
    EXPECT_EQ(Frame()->statusBar()->currentMessage(), QStringLiteral("1 file(s) extracted"));
    const QString before = counts->text();
    // A translation made in the Dictionary window: the counts move, and no
    // copy of the old ones stays on the left.
    CDlgGeneralDictionary* window = ShowDictionary();
    SelectRow(window->List(), RowOf(window->List(), QStringLiteral("As Text")));
    window->TranslationEdit()->setText(QStringLiteral("En texte"));
    window->OnOK();
    QApplication::processEvents();
    EXPECT_NE(counts->text(), before);
    EXPECT_FALSE(Frame()->statusBar()->currentMessage().contains(before));
}

TEST_F(DictionaryWindows, TheTextsWindowShowsOriginalsAsTheScriptWritesThem)
{
    // "Find what:" and "Look in :" are kept as "Find what" and "Look in";
    // generation puts the colon back, so the translator sees it first.
    CDlgEntityDictionary* texts = ShowTexts({"sample.rc", "Dialog boxes", "IDD_DIALOG1"});
    ASSERT_NE(texts, nullptr);
    CListCtrlEx* list = texts->List();
    const int look = RowOf(list, QStringLiteral("Look in :"));
    ASSERT_GE(look, 0);
    EXPECT_LT(RowOf(list, QStringLiteral("Look in")), 0);
    SelectRow(list, look);
    EXPECT_EQ(texts->OriginalEdit()->text(), QStringLiteral("Look in :"));
    EXPECT_EQ(
        texts->DecorationHint()->text(),
        QStringLiteral("Generation adds \u201C :\u201D after the translation (unless it ends with one)"));
    // What the row stands for is still the dictionary's text.
    EXPECT_EQ(texts->SelectedOriginal(), "Look in");
    const int options = RowOf(list, QStringLiteral("Options"));
    SelectRow(list, options);
    EXPECT_EQ(texts->DecorationHint()->text(), QString());
}

TEST_F(DictionaryWindows, TranslationsAreSpeltInTheDictionarysLanguage)
{
    const std::vector<std::string> languages = HunspellLanguages();
    if (std::find(languages.begin(), languages.end(), "fr_FR") == languages.end())
        GTEST_SKIP() << "no French dictionary of Hunspell here";
    // The language is the dictionary's, chosen once in the options.
    {
        CSheetOptions sheet(&Doc(), Frame()->OriginalFont(), Frame()->TranslationFont(), Frame());
        QComboBox* box = sheet.Dictionary()->LanguageBox();
        box->setCurrentIndex(box->findData(QStringLiteral("fr_FR")));
        sheet.accept();
    }
    EXPECT_EQ(AppSettings().Get(Doc().PathName(), Settings::DictionaryKey::Language), "fr_FR");
    Frame()->Documents()->AnnounceFonts();
    CDlgGeneralDictionary* window = ShowDictionary();
    QLineEdit* field = window->TranslationEdit();
    auto* spelling = field->findChild<SpellingField*>();
    ASSERT_NE(spelling, nullptr);
    // Marks, escapes and placeholders are no words; a word split by the
    // access-key mark is one word.
    field->setText(QStringLiteral("&Ouvrir le fichierr %s\\n ma&ison"));
    ASSERT_EQ(spelling->Misspelt().size(), 1);
    EXPECT_EQ(spelling->Misspelt()[0], qMakePair(11, 8));
    std::unique_ptr<QMenu> menu(spelling->ContextMenuAt(13));
    QStringList offered;
    QAction* add = nullptr;
    for (QAction* action : menu->actions()) {
        offered << action->text();
        if (action->objectName() == QStringLiteral("addWord"))
            add = action;
    }
    EXPECT_TRUE(offered.contains(QStringLiteral("fichier"))) << offered.join(QLatin1Char('|')).toStdString();
    ASSERT_NE(add, nullptr);
    add->trigger();
    EXPECT_TRUE(spelling->Misspelt().isEmpty());
    EXPECT_NE(ReadBytes(dir.File("data/lingorel/words.txt")).find("fichierr\n"), std::string::npos);
    // A suggestion taken replaces the word.
    field->setText(QStringLiteral("Ouvrir la maisonn"));
    menu.reset(spelling->ContextMenuAt(12));
    for (QAction* action : menu->actions()) {
        if (action->text() == QStringLiteral("maison")) {
            action->trigger();
            break;
        }
    }
    EXPECT_EQ(field->text(), QStringLiteral("Ouvrir la maison"));
}

namespace {

// Knows every word but "Teh".
class TehSpeller : public WordSpeller
{
public:
    bool Correct(const std::string& word) override { return word != "Teh"; }
    std::vector<std::string> Suggestions(const std::string&) override { return {"The"}; }
    void Add(const std::string&) override {}
};

// Counts the input method's events a field gets.
class InputMethodEvents : public QObject
{
public:
    int count = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        count += event->type() == QEvent::InputMethod ? 1 : 0;
        return false;
    }
};

} // namespace

TEST(SpellingField, AnInputMethodsCompositionIsNeverCut)
{
    QLineEdit field;
    SpellingField spelling(&field, std::make_shared<TehSpeller>());
    InputMethodEvents seen;
    field.installEventFilter(&seen); // sees what reaches the field first
    // A commit that changes the text while the next composition starts:
    // the underline waits, the composition goes on.
    QInputMethodEvent composing(QStringLiteral("\u304b"), {});
    composing.setCommitString(QStringLiteral("Teh "));
    QCoreApplication::sendEvent(&field, &composing);
    EXPECT_EQ(field.text(), QStringLiteral("Teh "));
    EXPECT_EQ(spelling.Misspelt().size(), 1);
    EXPECT_EQ(seen.count, 1);
    // The composition committed: the underline is drawn.
    QInputMethodEvent committed(QString(), {});
    committed.setCommitString(QStringLiteral("\u304b"));
    QCoreApplication::sendEvent(&field, &committed);
    EXPECT_EQ(seen.count, 3);
}

TEST_F(DictionaryWindows, AFilterKeptFromLastTimeIsSaidInTheTitle)
{
    CDlgGeneralDictionary* window = ShowDictionary();
    window->FilterEdit()->setText(QStringLiteral("Find"));
    window->ApplyFilter();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Dictionary ( 64 texts ) - 3 shown by the filter"));
    window->FilterEdit()->clear();
    window->ApplyFilter();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Dictionary ( 64 texts ) "));
}
