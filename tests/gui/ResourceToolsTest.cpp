// Find in resources with its results window, and the tools that move
// translations in and out of the dictionary, driven on a copy of the sample.
#include "app/CommandIds.h"
#include "app/DocumentCommands.h"
#include "app/MaintenanceCommands.h"
#include "app/SearchCommands.h"
#include "dictionary/ContextDictionary.h"
#include "dictionary/FileList.h"
#include "dictionary/GeneralDictionary.h"
#include "gui/GuiTestSupport.h"
#include "gui/ProgramFixture.h"
#include "memory/TranslationMemory.h"
#include "settings/Settings.h"
#include "tessary/CRkMessageBox.h"
#include "tessary/ModalAnswers.h"
#include "tessary/ProgramSettings.h"
#include "views/CListCtrlBookmark.h"
#include "windows/AlignPanel.h"
#include "windows/CDlgAlign.h"
#include "windows/CDlgCheckResults.h"
#include "windows/CDlgEntityDictionary.h"
#include "windows/CDlgFind.h"
#include "windows/CDlgFindInResources.h"
#include "windows/CDlgGeneralDictionary.h"
#include "windows/CDlgImport.h"
#include "windows/CDlgTextLists.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

class ResourceTools : public SampleProgram
{
protected:
    void SetUp() override
    {
        SampleProgram::SetUp();
        ModalAnswers::Clear(); // the welcome of the first start
    }
    QStringList Column(CListCtrlEx* list, int column)
    {
        QStringList texts;
        for (int row = 0; row < list->GetItemCount(); ++row)
            texts << list->GetItemText(row, column);
        return texts;
    }
};

} // namespace

TEST_F(ResourceTools, FindInResourcesListsTheResourcesAndGoesToTheText)
{
    SearchCommands* searches = Frame()->Searches();
    // Found through a general translation only ("Cancel", "Undo").
    searches->FindInResources(QStringLiteral("ANNULER"));
    CDlgFindResults* results = searches->Results();
    ASSERT_TRUE(results->isVisible());
    EXPECT_TRUE(Frame()->Action(Cmd::Results)->isChecked());
    EXPECT_EQ(results->Title(), QStringLiteral("Find in resources results ( 3 )  - ANNULER"));
    CListCtrlEx* list = results->List();
    // By file, then in the dictionary's order.
    EXPECT_EQ(Column(list, 1), (QStringList{"IDR_MAINFRAME", "IDD_DIALOG1", "IDD_OPTIONS"}));
    EXPECT_EQ(Column(list, 2), (QStringList{"Menu", "Dialog box", "Dialog box"}));
    EXPECT_EQ(list->GetItemImage(0), 1);
    EXPECT_EQ(list->GetSubItemBackColor(0, 0), 12632256u); // the menus' colour
    EXPECT_EQ(list->GetSubItemBackColor(1, 0), 16777215u);
    // A click on a header sorts by that column.
    list->Sort(2, false);
    EXPECT_EQ(Column(list, 2), (QStringList{"Dialog box", "Dialog box", "Menu"}));
    GrabToPng(Frame(), QStringLiteral("find-in-resources"));

    // Goto text: the texts of the resource, the text selected.
    const int options = Column(list, 1).indexOf(QStringLiteral("IDD_OPTIONS"));
    SelectRow(list, options);
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(Frame()->PreviewTabs()->SelectedTab(), CDlgPreviewTabs::TabTexts);
    EXPECT_EQ(program->tree()->currentItem(), program->Item({"sample.rc", "Dialog boxes", "IDD_OPTIONS"}));
    CDlgEntityDictionary* texts = Frame()->TextsWindow();
    ASSERT_TRUE(texts && texts->isVisible());
    EXPECT_EQ(texts->SelectedOriginal(), "Cancel");

    // Not while the Dictionary window is on screen.
    Frame()->Action(Cmd::Dictionary)->trigger();
    ModalAnswers::Clear();
    results->GotoRow(options);
    EXPECT_EQ(ModalAnswers::Shown(), QStringList{QStringLiteral("You have to close the dictionary window.")});

    searches->FindInResources(QStringLiteral("no such words"));
    EXPECT_EQ(Column(list, 0), QStringList{QStringLiteral("Text not found !")});
    EXPECT_EQ(results->RecordAt(0), nullptr);
    Frame()->Action(Cmd::Results)->trigger();
    EXPECT_FALSE(results->isVisible());
}

TEST_F(ResourceTools, TheResultsWindowComesBackWithTheNextSession)
{
    // The list's context menu asks with its selected text.
    CDlgGeneralDictionary* window = Frame()->DictionaryWindow();
    window->ShowWindow();
    emit window->findInResourcesRequested("Look in");
    EXPECT_TRUE(Frame()->Searches()->ResultsVisible());
    EXPECT_EQ(Frame()->Searches()->Results()->List()->GetItemText(0, 1), QStringLiteral("IDD_DIALOG1"));
    window->Discard();
    program.reset(); // closes the window, writing its state
    EXPECT_TRUE(Settings(dir.File("lorvo.ini")).Get(Settings::Flag::FindInResource));
    program = std::make_unique<Program>(dir.File("lorvo.ini"), QStringList{QString::fromStdString(dic)});
    EXPECT_TRUE(WaitUntil([&] { return Frame()->Searches()->ResultsVisible(); }));
    // The search itself is not kept; its history is.
    EXPECT_EQ(Frame()->Searches()->Results()->Title(), QStringLiteral("Find in resources results"));
    CDlgFindInResources dialog(Frame());
    ASSERT_GE(dialog.FindWhatBox()->count(), 1);
    EXPECT_EQ(dialog.FindWhatBox()->itemText(0), QStringLiteral("Look in"));
}

TEST_F(ResourceTools, ReplaceInTheTextsWindowStoresAtOnce)
{
    program->Tab(CDlgPreviewTabs::TabTexts);
    program->Select({"sample.rc", "Dialog boxes", "IDD_DIALOG1"});
    CDlgEntityDictionary* texts = Frame()->TextsWindow();
    ASSERT_TRUE(texts && texts->isVisible());
    ASSERT_TRUE(Frame()->Action(Cmd::EditReplace)->isEnabled());
    CDlgReplace dialog(texts, ListSearch{}, QString(), Frame());
    EXPECT_EQ(dialog.ColumnBox()->count(), 3);
    dialog.FindWhatBox()->setEditText(QStringLiteral("bas"));
    dialog.ReplaceWithBox()->setEditText(QStringLiteral("En bas"));
    dialog.OnReplace();
    EXPECT_EQ(texts->SelectedOriginal(), "Down");
    EXPECT_EQ(Translation("Down"), "En bas");
    EXPECT_TRUE(Doc().IsModified());
}

TEST_F(ResourceTools, ImportFillsMissingTranslationsAndRefusesWhatIsNotADictionary)
{
    CDlgImport dialog(&Doc(), &Frame()->Documents()->Reporter(), Frame());
    dialog.OnOK();
    EXPECT_EQ(ModalAnswers::Shown(), QStringList{QStringLiteral("Invalid file name")});
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    const std::string other = dir.File("other.dic");
    WriteBytes(other, "\"As Text\"\xA4\"En texte\"\xA4\"0\"\r\n");
    dialog.FileEdit()->setText(QString::fromStdString(other));
    ModalAnswers::Clear();
    dialog.OnOK();
    EXPECT_EQ(ModalAnswers::Shown(),
              QStringList{QString::fromStdString(other + " is not a general dictionary file")});
    EXPECT_FALSE(Doc().IsModified());
    WriteBytes(other, "General dictionary\r\n\"As Text\"\xA4\"En texte\"\xA4\"0\"\r\n"
                      "\"OK\"\xA4\"Valider\"\xA4\"0\"\r\n");
    dialog.OnOK();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Imported(), 1);
    EXPECT_EQ(Translation("As Text"), "En texte");
    EXPECT_EQ(Translation("OK"), "OK");
    EXPECT_TRUE(Doc().IsModified());

    // The command refuses while the Dictionary window is on screen.
    Frame()->Action(Cmd::Dictionary)->trigger();
    ModalAnswers::Clear();
    Frame()->Action(Cmd::Import)->trigger();
    EXPECT_EQ(ModalAnswers::Shown(), QStringList{QStringLiteral("You have to close the dictionary window.")});
}

TEST_F(ResourceTools, ExportWritesTextOrTheDictionaryWindowsPage)
{
    MaintenanceCommands* tools = Frame()->Maintenance();
    const QString page = QString::fromStdString(dir.File("list.html"));
    EXPECT_FALSE(tools->ExportTo(page));
    EXPECT_EQ(ModalAnswers::Shown(),
              QStringList{QStringLiteral("Cannot export if a dictionary is not displayed.")});
    EXPECT_FALSE(QFileInfo::exists(page));
    const std::string text = dir.File("texts.txt");
    ASSERT_TRUE(tools->ExportTo(QString::fromStdString(text)));
    const std::string lines = ReadBytes(text);
    EXPECT_EQ(lines.rfind("\"File\";\"Fichier\"\r\n", 0), 0u);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), 64);

    Frame()->Action(Cmd::Dictionary)->trigger();
    ASSERT_TRUE(tools->ExportTo(page));
    const std::string html = ReadBytes(page.toStdString());
    EXPECT_NE(html.find("<table border=1>"), std::string::npos);
    EXPECT_NE(html.find("Rechercher"), std::string::npos);
    EXPECT_NE(html.find("Translation"), std::string::npos); // the column headings
}

TEST_F(ResourceTools, TheMaintenanceListsTakeTextsOut)
{
    Doc().General()->SetDoNotTranslate("OK");
    Doc().General()->SetDoNotTranslate("Cancel");
    {
        CDlgTextsNotToTranslate dialog(&Doc(), Frame());
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Texts not to translate ( 2 texts ) "));
        EXPECT_FALSE(dialog.RemoveButton()->isEnabled());
        SelectRow(dialog.List(), 0);
        EXPECT_TRUE(dialog.RemoveButton()->isEnabled());
        dialog.OnRemove();
        EXPECT_FALSE(Doc().General()->IsDoNotTranslate("OK"));
        EXPECT_TRUE(Doc().General()->IsDoNotTranslate("Cancel"));
        dialog.OnRemoveAll();
        EXPECT_TRUE(Doc().General()->DoNotTranslate().Size() == 0);
        EXPECT_FALSE(dialog.RemoveAllButton()->isEnabled());
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Texts not to translate ( 0 texts ) "));
    }
    Doc().General()->AddText("Orphan", "Orphelin");
    Doc().SetModifiedFlag(false);
    CDlgUnusedTexts unused(&Doc(), Frame());
    EXPECT_EQ(Column(unused.List(), 0), QStringList{QStringLiteral("Orphan")});
    unused.OnRemoveAll();
    EXPECT_EQ(Doc().General()->FindTranslation("Orphan"), nullptr);
    EXPECT_TRUE(Doc().IsModified());
    EXPECT_TRUE(unused.Changed());
}

TEST_F(ResourceTools, PoAndXliffGoOutAndComeBackThroughExportAndImport)
{
    MaintenanceCommands* tools = Frame()->Maintenance();
    for (const char* name : {"fr.po", "fr.xlf"}) {
        const std::string path = dir.File(name);
        ASSERT_TRUE(tools->ExportTo(QString::fromStdString(path)));
        EXPECT_NE(ReadBytes(path).find("Fichier"), std::string::npos);
        // Changed here, the file brings the translation back.
        Doc().General()->SetTranslation("File", "Dossier");
        CDlgImport dialog(&Doc(), &Frame()->Documents()->Reporter(), Frame());
        dialog.FileEdit()->setText(QString::fromStdString(path));
        dialog.OnOK();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(dialog.Imported(), 1);
        EXPECT_TRUE(dialog.Problems().empty());
        EXPECT_EQ(Translation("File"), "Fichier");
    }
}

TEST_F(ResourceTools, ImportSaysItsRuleAndTheUserChoosesKeepOrReplace)
{
    MaintenanceCommands* tools = Frame()->Maintenance();
    const std::string po = dir.File("fr.po");
    const std::string tmx = dir.File("fr.tmx");
    const std::string pot = dir.File("fr.pot");
    for (const std::string& path : {po, tmx, pot})
        ASSERT_TRUE(tools->ExportTo(QString::fromStdString(path)));
    // The template holds the texts, untranslated; the memory the
    // translations.
    EXPECT_EQ(ReadBytes(pot).find("msgstr \"Fichier\""), std::string::npos);
    EXPECT_NE(ReadBytes(pot).find("msgid \"File\""), std::string::npos);
    EXPECT_NE(ReadBytes(tmx).find("<seg>Fichier</seg>"), std::string::npos);

    Doc().General()->SetTranslation("File", "Dossier");
    // Each kind of file proposes its rule, shown before anything changes.
    CDlgImport dialog(&Doc(), &Frame()->Documents()->Reporter(), Frame());
    dialog.FileEdit()->setText(QString::fromStdString(tmx));
    EXPECT_FALSE(dialog.Replaces());
    dialog.FileEdit()->setText(QString::fromStdString(po));
    EXPECT_TRUE(dialog.Replaces());
    // The user's choice stands whatever file is named after it.
    dialog.SetReplaces(false);
    dialog.FileEdit()->setText(QString::fromStdString(tmx));
    dialog.FileEdit()->setText(QString::fromStdString(po));
    EXPECT_FALSE(dialog.Replaces());
    dialog.OnOK();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(Translation("File"), "Dossier");
    EXPECT_GE(dialog.Kept(), 1);

    CDlgImport memory(&Doc(), &Frame()->Documents()->Reporter(), Frame());
    memory.FileEdit()->setText(QString::fromStdString(tmx));
    memory.OnOK();
    EXPECT_EQ(Translation("File"), "Dossier");
    CDlgImport replacing(&Doc(), &Frame()->Documents()->Reporter(), Frame());
    replacing.FileEdit()->setText(QString::fromStdString(tmx));
    replacing.SetReplaces(true);
    replacing.OnOK();
    EXPECT_EQ(replacing.Imported(), 1);
    EXPECT_EQ(Translation("File"), "Fichier");
}

TEST_F(ResourceTools, AlignBringsInACopyAndListsWhatDidNotPair)
{
    EXPECT_TRUE(Frame()->Action(Cmd::Align)->isEnabled());
    const std::string original = dir.File("opts.rc");
    WriteBytes(original, "IDD_OPTS DIALOG 0, 0, 100, 50\r\nCAPTION \"Preferences\"\r\nBEGIN\r\n"
                         "    LTEXT \"&Colour:\",IDC_STATIC,7,7,50,8\r\n"
                         "    PUSHBUTTON \"Reset\",IDC_RESET,7,20,50,14\r\nEND\r\n");
    WriteBytes(dir.File("opts-fr.rc"), "IDD_OPTS DIALOG 0, 0, 100, 50\r\nCAPTION \"R\xE9glages\"\r\n"
                                       "BEGIN\r\n    LTEXT \"&Couleur :\",IDC_STATIC,7,7,50,8\r\nEND\r\n");
    CDlgAlign window(&Doc(), &Frame()->Documents()->Reporter(), Frame());
    AlignPanel& dialog = *window.Panel();
    // The dictionary's scripts are offered; another one is inserted first.
    EXPECT_GE(dialog.OriginalBox()->count(), 1);
    dialog.OriginalBox()->setCurrentText(QString::fromStdString(original));
    dialog.TranslatedEdit()->setText(QString::fromStdString(dir.File("opts-fr.rc")));
    dialog.Align();
    EXPECT_TRUE(dialog.Changed());
    // The sample translates "Colour" already: its access key there stays
    // unless the user replaces what the dictionary has.
    EXPECT_EQ(dialog.SummaryLabel()->text().toStdString(),
              "2 texts aligned, 1 general translations, 0 in context, 1 unmatched; 1 translation(s) of the "
              "dictionary kept.");
    ASSERT_EQ(dialog.ProblemList()->count(), 2); // the resource's count, the button
    EXPECT_TRUE(
        dialog.ProblemList()->item(1)->text().contains(QStringLiteral("\"Reset\" has no counterpart")));
    EXPECT_EQ(Translation("Colour"), "Couleur");
    EXPECT_NE(Doc().Files()->Find(original), nullptr);
    EXPECT_EQ(Translation("Preferences"), "R\351glages");
    dialog.ReplaceBox()->setChecked(true);
    dialog.Align();
    EXPECT_FALSE(dialog.SummaryLabel()->text().contains(QStringLiteral("kept")));
    // A translated script that is not there changes nothing.
    dialog.TranslatedEdit()->setText(QString::fromStdString(dir.File("none.rc")));
    dialog.Align();
    EXPECT_EQ(dialog.SummaryLabel()->text(), QStringLiteral("Choose the translated script."));
}

TEST_F(ResourceTools, CheckTranslationsListsFindingsAndGoesToTheResource)
{
    // "&Tout" takes the key of "Barre d'é&tat" in the View menu.
    Doc().General()->SetTranslation("Toolbar", "Tout");
    Frame()->Action(Cmd::CheckTranslations)->trigger();
    CDlgCheckResults* window = Frame()->Maintenance()->CheckWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    ASSERT_EQ(window->Findings().size(), 1u);
    EXPECT_EQ(window->Findings()[0].line, 91);
    EXPECT_EQ(window->List()->topLevelItem(0)->text(2), QStringLiteral("IDR_MAINFRAME"));
    emit window->List()->itemActivated(window->List()->topLevelItem(0), 0);
    EXPECT_EQ(program->tree()->currentItem(), program->Item({"sample.rc", "Menus", "IDR_MAINFRAME"}));
    GrabToPng(window, QStringLiteral("check-translations"));

    Doc().General()->SetTranslation("Toolbar", "Barre d'outils");
    emit window->checkAgainRequested();
    EXPECT_TRUE(window->Findings().empty());

    // Its size is the next session's.
    window->resize(640, 300);
    window->hide();
    EXPECT_EQ(AppSettings().Get(Settings::Integer::CheckWidth), 640);
    CDlgCheckResults next(Frame());
    EXPECT_EQ(next.size(), QSize(640, 300));
}

TEST_F(ResourceTools, PretranslateFillsWhatHasNoTranslationFromTheMemory)
{
    EXPECT_TRUE(Frame()->Action(Cmd::Pretranslate)->isEnabled());
    std::string error;
    auto memory = TranslationMemory::Open(TranslationMemory::DefaultPath(), error);
    ASSERT_TRUE(memory) << error;
    ASSERT_TRUE(memory->ReplaceSource(
        "/projects/other.dic",
        {{"Up", "Vers le haut", {}, "cp1252", "cp1252"}, {"Down", "Vers le bas", {}, "cp1252", "cp1252"}},
        error));
    Doc().General()->SetTranslation("Up", "");
    Frame()->Maintenance()->OnPretranslate(100);
    EXPECT_EQ(Translation("Up"), "Vers le haut");
    EXPECT_EQ(Translation("Down"), "Bas"); // never replaced
    EXPECT_TRUE(Frame()->Maintenance()->LastPretranslation().startsWith(
        QStringLiteral("1 text(s) filled, 1 from exact matches.\n/projects/other.dic: 1")));
    EXPECT_TRUE(Doc().IsModified());
}
