// The wizard that brings scripts into a dictionary, and the Generate dialog.
#include "TestSupport.h"
#include "app/CommandIds.h"
#include "app/DocumentCommands.h"
#include "dictionary/CTrelvarDoc.h"
#include "dictionary/ContextDictionary.h"
#include "dictionary/FileList.h"
#include "dictionary/GeneralDictionary.h"
#include "dictionary/NotExtractedList.h"
#include "dictionary/ScriptInsertion.h"
#include "engine/ScriptRuns.h"
#include "gui/GuiTestSupport.h"
#include "gui/ProgramFixture.h"
#include "pages/CPageAlign.h"
#include "pages/CPageExtract.h"
#include "pages/CPageInsert.h"
#include "pages/CPageNew.h"
#include "pages/CPageNotExtracted.h"
#include "pages/CSheetWizard.h"
#include "tessary/CListCtrlEx.h"
#include "tessary/CoreFeedback.h"
#include "tessary/ModalAnswers.h"
#include "windows/AlignPanel.h"
#include "windows/CDlgGenerate.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

const QString kNameAndLocation =
    QStringLiteral("The name and the location of the dictionary must be defined");

// Two real scripts when the corpus is there, else the sample and a small
// script of our own.
std::pair<std::string, std::string> TwoScripts(const TempDir& dir)
{
    fs::create_directories(dir.Path() / "scripts");
    const fs::path corpus = CorpusDir();
    const fs::path a = corpus / "VCSamples/VC2008Samples/ATL/Advanced/ActiveDoc/ActiveDoc.rc";
    const fs::path b = corpus / "VCSamples/VC2008Samples/ATL/Advanced/ATLDuck/atlduck.rc";
    if (!corpus.empty() && fs::exists(a) && fs::exists(b)) {
        fs::copy_file(a, dir.Path() / "scripts" / "ActiveDoc.rc");
        fs::copy_file(b, dir.Path() / "scripts" / "atlduck.rc");
        return {dir.File("scripts/ActiveDoc.rc"), dir.File("scripts/atlduck.rc")};
    }
    fs::copy_file(SourceDir() / "samples" / "sample.rc", dir.Path() / "scripts" / "ActiveDoc.rc");
    WriteBytes(dir.File("scripts/atlduck.rc"),
               "IDD_DUCK DIALOG 0, 0, 100, 50\r\nCAPTION \"Duck\"\r\nBEGIN\r\n"
               "    LTEXT \"Quack\",1,1,1,40,10\r\nEND\r\n");
    return {dir.File("scripts/ActiveDoc.rc"), dir.File("scripts/atlduck.rc")};
}

QStringList Selected(CListCtrlEx* list)
{
    QStringList texts;
    for (int row : list->GetSelectedItems())
        texts << list->GetItemText(row, 0);
    texts.sort();
    return texts;
}

QString Q(const std::string& path)
{
    return QString::fromStdString(path);
}

bool Shown(const QString& text)
{
    return ModalAnswers::Shown().contains(text);
}

// A dictionary in dir holding the given scripts, extracted and saved.
class Dictionary
{
public:
    Dictionary(const TempDir& dir, const std::vector<std::string>& scripts) : reporter(nullptr)
    {
        doc.SetReporter(&reporter);
        fs::create_directories(dir.Path() / "out");
        EXPECT_TRUE(doc.CreateDictionary("demo", dir.Path().string(), dir.Path().string(), dir.File("out")));
        for (const std::string& script : scripts)
            EXPECT_EQ(InsertScript(*doc.Files(), script, "", dir.File("out")).message, 0);
        ExtractScripts(doc, scripts, nullptr, nullptr, &reporter);
    }
    MessageBoxReporter reporter;
    CTrelvarDoc doc;
};

} // namespace

TEST(Wizard, FileNewCreatesInsertsAndExtracts)
{
    ModalAnswers::Clear();
    TempDir dir;
    const auto [first, second] = TwoScripts(dir);
    fs::create_directories(dir.Path() / "out");
    MessageBoxReporter reporter(nullptr);
    CTrelvarDoc doc;
    doc.SetReporter(&reporter);
    CSheetWizard sheet(CSheetWizard::FileNewSet, &doc, &reporter);
    bool created = false;
    QObject::connect(&sheet, &CSheetWizard::dictionaryCreated, [&created] { created = true; });
    sheet.show();
    QApplication::processEvents();
    CPageNew* page = sheet.NewPage();
    ASSERT_EQ(sheet.currentPage(), page);
    EXPECT_EQ(sheet.windowTitle(), QStringLiteral("New dictionary"));
    EXPECT_EQ(page->LocationEdit()->text(), QDir::toNativeSeparators(QDir::homePath()));
    EXPECT_EQ(sheet.button(QWizard::CancelButton)->text(), QStringLiteral("Cancel"));
    GrabToPng(&sheet, QStringLiteral("wizard-new"));

    // Without a name the page stays.
    sheet.next();
    EXPECT_TRUE(Shown(kNameAndLocation));
    EXPECT_EQ(sheet.currentPage(), page);
    EXPECT_FALSE(doc.IsOpen());

    page->NameEdit()->setText(QStringLiteral("demo"));
    page->LocationEdit()->setText(Q(dir.Path().string()));
    page->SourceEdit()->setText(Q(dir.File("scripts")));
    page->DestinationEdit()->setText(Q(dir.File("out")));
    sheet.next();
    ASSERT_EQ(sheet.currentPage(), sheet.InsertPage());
    EXPECT_TRUE(created);
    EXPECT_TRUE(doc.IsOpen());
    for (const char* file : {"demo.dic", "demo.ent", "demo.fil"})
        EXPECT_TRUE(fs::exists(dir.Path() / file)) << file;
    EXPECT_EQ(sheet.button(QWizard::CancelButton)->text(), QStringLiteral("Close"));

    // Back: the dictionary exists, only its folders can change.
    sheet.back();
    ASSERT_EQ(sheet.currentPage(), page);
    EXPECT_FALSE(page->NameEdit()->isEnabled());
    EXPECT_FALSE(page->LocationEdit()->isEnabled());
    EXPECT_FALSE(page->LocationButton()->isEnabled());
    page->DestinationEdit()->setText(Q(dir.File("out/")));
    sheet.next();
    ASSERT_EQ(sheet.currentPage(), sheet.InsertPage());
    EXPECT_EQ(doc.DefaultDestinationFolder(), dir.File("out/"));

    CPageInsert* insert = sheet.InsertPage();
    EXPECT_EQ(insert->DestinationEdit()->text(), Q(dir.File("out/")));
    GrabToPng(&sheet, QStringLiteral("wizard-insert"));
    // A folder destination gets the script's name.
    insert->FileEdit()->setText(Q(first));
    insert->OnAdd();
    // A destination naming a ".rc" file is kept.
    insert->FileEdit()->setText(Q(second));
    insert->DestinationEdit()->setText(Q(dir.File("out/duck-fr.rc")));
    insert->OnAdd();
    ASSERT_EQ(doc.Files()->FileCount(), 2);
    EXPECT_EQ(doc.Files()->Find(first)->destination, dir.File("out/ActiveDoc.rc"));
    EXPECT_EQ(doc.Files()->Find(second)->destination, dir.File("out/duck-fr.rc"));
    EXPECT_EQ(insert->List()->GetItemCount(), 2);
    // The same source twice, and a source that is its own destination.
    insert->FileEdit()->setText(Q(first));
    insert->OnAdd();
    EXPECT_TRUE(Shown(QStringLiteral("This file is already in the active dictionary.")));
    insert->FileEdit()->setText(Q(second));
    insert->DestinationEdit()->setText(Q(second));
    insert->OnAdd();
    EXPECT_TRUE(Shown(QStringLiteral("Source and destination files must be different")));
    EXPECT_TRUE(insert->DestinationEdit()->hasFocus() || !sheet.isActiveWindow());
    insert->FileEdit()->setText(Q(dir.File("scripts/missing.rc")));
    insert->DestinationEdit()->clear();
    insert->OnAdd();
    EXPECT_TRUE(Shown(QStringLiteral("This file does not exist !")));
    EXPECT_EQ(doc.Files()->FileCount(), 2);

    sheet.next();
    CPageExtract* extract = sheet.ExtractPage();
    ASSERT_EQ(sheet.currentPage(), extract);
    EXPECT_EQ(Selected(extract->List()), (QStringList{Q(first), Q(second)}));
    EXPECT_TRUE(sheet.button(QWizard::FinishButton)->isVisible());
    GrabToPng(&sheet, QStringLiteral("wizard-extract"));

    EXPECT_EQ(doc.General()->TextCount(), 0);
    sheet.button(QWizard::FinishButton)->click();
    QApplication::processEvents();
    EXPECT_TRUE(extract->Extracted());
    EXPECT_GT(doc.General()->TextCount(), 0);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_FALSE(doc.Files()->Find(first)->stamp.empty());
    EXPECT_EQ(extract->AllFilesBar()->value(), 0);
    EXPECT_FALSE(sheet.isVisible());
}

// A new dictionary whose script a translator already translated starts
// with those translations: the Extract page offers the Align page.
TEST(Wizard, ANewDictionaryTakesTheTranslationsOfAnExistingCopy)
{
    ModalAnswers::Clear();
    TempDir dir;
    fs::create_directories(dir.Path() / "out");
    WriteBytes(dir.File("app.rc"), "IDD_A DIALOG 0, 0, 100, 50\r\nCAPTION \"Duck\"\r\nBEGIN\r\n"
                                   "    LTEXT \"Quack\",1,1,1,40,10\r\nEND\r\n");
    WriteBytes(dir.File("app-fr.rc"), "IDD_A DIALOG 0, 0, 100, 50\r\nCAPTION \"Canard\"\r\nBEGIN\r\n"
                                      "    LTEXT \"Coin-coin\",1,1,1,40,10\r\nEND\r\n");
    MessageBoxReporter reporter(nullptr);
    CTrelvarDoc doc;
    doc.SetReporter(&reporter);
    CSheetWizard sheet(CSheetWizard::FileNewSet, &doc, &reporter);
    sheet.show();
    QApplication::processEvents();
    sheet.NewPage()->NameEdit()->setText(QStringLiteral("demo"));
    sheet.NewPage()->LocationEdit()->setText(Q(dir.Path().string()));
    sheet.NewPage()->DestinationEdit()->setText(Q(dir.File("out/")));
    sheet.next();
    sheet.InsertPage()->FileEdit()->setText(Q(dir.File("app.rc")));
    sheet.InsertPage()->OnAdd();
    sheet.next();
    CPageExtract* extract = sheet.ExtractPage();
    ASSERT_EQ(sheet.currentPage(), extract);
    EXPECT_TRUE(extract->HasTranslationBox()->isVisible());
    extract->HasTranslationBox()->setChecked(true);
    QApplication::processEvents();
    EXPECT_EQ(sheet.nextId(), CSheetWizard::PageAlign);
    EXPECT_TRUE(sheet.button(QWizard::NextButton)->isVisible());
    EXPECT_TRUE(sheet.button(QWizard::NextButton)->isEnabled());
    EXPECT_FALSE(sheet.button(QWizard::FinishButton)->isEnabled());
    EXPECT_FALSE(sheet.button(QWizard::FinishButton)->isVisible());
    sheet.next();
    CPageAlign* align = sheet.AlignPage();
    ASSERT_EQ(sheet.currentPage(), align);
    EXPECT_GT(doc.General()->TextCount(), 0);
    EXPECT_EQ(align->Panel()->OriginalBox()->currentText(), Q(dir.File("app.rc")));
    align->Panel()->TranslatedEdit()->setText(Q(dir.File("app-fr.rc")));
    GrabToPng(&sheet, QStringLiteral("wizard-align"));
    sheet.button(QWizard::FinishButton)->click();
    QApplication::processEvents();
    std::string translation;
    doc.General()->GetTranslation("Quack", translation);
    EXPECT_EQ(translation, "Coin-coin");
    EXPECT_FALSE(sheet.isVisible());
}

TEST(Wizard, DeletingAScriptDropsItsInContextTexts)
{
    TempDir dir;
    const auto [first, second] = TwoScripts(dir);
    Dictionary dictionary(dir, {first, second});
    CTrelvarDoc& doc = dictionary.doc;
    CSheetWizard sheet(CSheetWizard::InsertSet, &doc, &dictionary.reporter);
    sheet.show();
    QApplication::processEvents();
    CPageInsert* insert = sheet.InsertPage();
    ASSERT_EQ(insert->List()->GetItemCount(), 2);
    EXPECT_FALSE(insert->DeleteButton()->isEnabled());
    // Sorted by source: ActiveDoc before atlduck.
    insert->List()->SetItemState(1, CListCtrlEx::StateSelected, CListCtrlEx::StateSelected);
    EXPECT_TRUE(insert->DeleteButton()->isEnabled());
    insert->DeleteButton()->click();
    EXPECT_EQ(doc.Files()->FileCount(), 1);
    EXPECT_EQ(doc.Files()->Find(second), nullptr);
    EXPECT_EQ(doc.Context()->FindFile(second), nullptr);
    EXPECT_NE(doc.Context()->FindFile(first), nullptr);
    EXPECT_FALSE(insert->DeleteButton()->isEnabled());
    EXPECT_EQ(sheet.button(QWizard::CancelButton)->text(), QStringLiteral("Close"));
    // Nothing was added: the Extract page selects nothing.
    sheet.next();
    EXPECT_TRUE(Selected(sheet.ExtractPage()->List()).isEmpty());
    EXPECT_TRUE(doc.IsModified());
}

TEST(Wizard, ResourcesTakenOffTheNotExtractedListAreExtractedAgain)
{
    TempDir dir;
    const std::string script = dir.File("duck.rc");
    WriteBytes(script, "IDD_DUCK DIALOG 0, 0, 100, 50\r\nBEGIN\r\n    LTEXT \"Quack\",1,1,1,40,10\r\nEND\r\n"
                       "IDR_MENU MENU DISCARDABLE\r\nBEGIN\r\n    MENUITEM \"Swim\", 100\r\nEND\r\n");
    Dictionary dictionary(dir, {});
    CTrelvarDoc& doc = dictionary.doc;
    ASSERT_EQ(InsertScript(*doc.Files(), script, "", dir.File("out")).message, 0);
    doc.NotExtracted()->Add(NotExtractedList::MakeKey(script, "IDD_DUCK", 5));
    doc.NotExtracted()->Add(NotExtractedList::MakeKey(script, "IDR_MENU", 4));
    ExtractScripts(doc, {script}, nullptr, nullptr, nullptr);
    EXPECT_EQ(doc.General()->FindTranslation("Quack"), nullptr);

    CSheetWizard sheet(CSheetWizard::NotExtractedSet, &doc, &dictionary.reporter);
    bool refresh = false;
    QObject::connect(&sheet, &CSheetWizard::treeRefreshNeeded, [&refresh] { refresh = true; });
    sheet.show();
    QApplication::processEvents();
    CPageNotExtracted* page = sheet.NotExtractedPage();
    ASSERT_EQ(sheet.currentPage(), page);
    CListCtrlEx* list = page->List();
    ASSERT_EQ(list->GetItemCount(), 2);
    GrabToPng(&sheet, QStringLiteral("wizard-not-extracted"));
    // Sorted by type when its header is clicked: "Dialog box" before "Menu".
    emit list->columnClicked(2);
    EXPECT_EQ(list->GetItemText(0, 2), QStringLiteral("Dialog box"));
    EXPECT_EQ(list->GetItemText(0, 1), QStringLiteral("IDD_DUCK"));
    EXPECT_EQ(list->GetItemText(1, 2), QStringLiteral("Menu"));
    list->SetItemState(0, CListCtrlEx::StateSelected, CListCtrlEx::StateSelected);
    sheet.next();
    EXPECT_TRUE(refresh);
    EXPECT_FALSE(doc.NotExtracted()->Contains(NotExtractedList::MakeKey(script, "IDD_DUCK", 5)));
    EXPECT_TRUE(doc.NotExtracted()->Contains(NotExtractedList::MakeKey(script, "IDR_MENU", 4)));
    ASSERT_EQ(sheet.currentPage(), sheet.ExtractPage());
    EXPECT_EQ(Selected(sheet.ExtractPage()->List()), QStringList{Q(script)});
    bool rebuild = false;
    QObject::connect(&sheet, &CSheetWizard::treeRebuildNeeded, [&rebuild] { rebuild = true; });
    sheet.button(QWizard::FinishButton)->click();
    EXPECT_NE(doc.General()->FindTranslation("Quack"), nullptr);
    EXPECT_EQ(doc.General()->FindTranslation("Swim"), nullptr);
    EXPECT_TRUE(rebuild);

    // A ".nir" of another dictionary adds its resources.
    TempDir other;
    NotExtractedList imported;
    imported.SetFilePath(other.File("other.nir"));
    imported.Add(NotExtractedList::MakeKey(script, "IDD_DUCK", 5));
    ASSERT_TRUE(imported.Save());
    CSheetWizard again(CSheetWizard::NotExtractedSet, &doc, &dictionary.reporter);
    again.show();
    QApplication::processEvents();
    again.NotExtractedPage()->Import(Q(other.File("other.nir")));
    EXPECT_EQ(again.NotExtractedPage()->List()->GetItemCount(), 2);
    EXPECT_TRUE(doc.NotExtracted()->Contains(NotExtractedList::MakeKey(script, "IDD_DUCK", 5)));
}

TEST(Wizard, AnEmptyListOfFilesLeavesNothingToSelect)
{
    TempDir dir;
    Dictionary dictionary(dir, {});
    CSheetWizard sheet(CSheetWizard::ExtractSet, &dictionary.doc, &dictionary.reporter);
    sheet.show();
    QApplication::processEvents();
    EXPECT_EQ(sheet.currentPage(), sheet.ExtractPage());
    EXPECT_FALSE(sheet.ExtractPage()->SelectAllButton()->isEnabled());
    EXPECT_FALSE(sheet.button(QWizard::BackButton)->isVisible());
    CDlgGenerate generate(&dictionary.doc, &dictionary.reporter);
    EXPECT_FALSE(generate.GenerateAllButton()->isEnabled());
    EXPECT_FALSE(generate.GenerateButton()->isEnabled());
}

TEST(GenerateDialog, WritesEveryDestinationAndKeepsFailuresSelected)
{
    ModalAnswers::Clear();
    TempDir dir;
    const auto [first, second] = TwoScripts(dir);
    const std::string third = dir.File("scripts/gone.rc");
    WriteBytes(third, "IDD_GONE DIALOG 0, 0, 10, 10\r\nBEGIN\r\nEND\r\n");
    Dictionary dictionary(dir, {first, second, third});
    CTrelvarDoc& doc = dictionary.doc;
    doc.General()->SetTranslation(doc.General()->Texts().begin()->key, "Traduit");
    // An earlier translation of the first script is kept as ".qv".
    WriteBytes(dir.File("out/ActiveDoc.rc"), "earlier translation");
    fs::remove(third);

    CDlgGenerate dialog(&doc, &dictionary.reporter);
    dialog.show();
    QApplication::processEvents();
    CListCtrlEx* list = dialog.List();
    ASSERT_EQ(list->GetItemCount(), 3);
    EXPECT_TRUE(dialog.GenerateAllButton()->isEnabled());
    EXPECT_FALSE(dialog.GenerateButton()->isEnabled());
    dialog.OnGenerateAll();
    EXPECT_TRUE(fs::exists(dir.File("out/atlduck.rc")));
    EXPECT_EQ(ReadBytes(dir.File("out/ActiveDoc.qv")), "earlier translation");
    EXPECT_NE(ReadBytes(dir.File("out/ActiveDoc.rc")), "earlier translation");
    EXPECT_TRUE(Shown(QStringLiteral("Error when opening file %1\nNo such file or directory").arg(Q(third))));
    EXPECT_EQ(Selected(list), QStringList{Q(third)});
    EXPECT_TRUE(dialog.GenerateButton()->isEnabled());
    EXPECT_EQ(dialog.AllFilesBar()->value(), 0);
    GrabToPng(&dialog, QStringLiteral("generate-dialog"));
}

TEST(WizardCommands, InsertThenExtractThroughTheMainWindow)
{
    ModalAnswers::Clear();
    TempDir dir;
    const std::string dic = CopySample(dir);
    const auto [first, second] = TwoScripts(dir);
    Program program(dir.File("lorvo.ini"), {Q(dic)});
    CMainFrame* frame = program.frame();
    CTrelvarDoc& doc = frame->Documents()->Doc();
    ASSERT_TRUE(doc.IsOpen());
    for (int id : {Cmd::FileNew, Cmd::Insert, Cmd::Extract, Cmd::Generate, Cmd::ResourcesNotToExtract})
        EXPECT_TRUE(frame->Action(id)->isEnabled()) << id;

    QStringList preselected;
    frame->SetWizardHook([&](CSheetWizard* sheet) {
        QTimer::singleShot(0, sheet, [&, sheet] {
            CPageInsert* insert = sheet->InsertPage();
            insert->FileEdit()->setText(Q(first));
            insert->DestinationEdit()->setText(Q(dir.File("out")));
            insert->OnAdd();
            sheet->next();
            preselected = Selected(sheet->ExtractPage()->List());
            sheet->button(QWizard::FinishButton)->click();
        });
    });
    frame->Action(Cmd::Insert)->trigger();
    EXPECT_EQ(preselected, QStringList{Q(first)});
    EXPECT_TRUE(doc.IsModified());
    EXPECT_NE(program.Item({QString::fromStdString(fs::path(first).filename().string())}), nullptr);

    // Extract offers the scripts changed since their extraction, then
    // forgets them.
    TouchFile(first, 60);
    doc.Files()->CheckChanged(first, doc.Files()->Find(first)->destination);
    ASSERT_EQ(doc.Files()->ChangedCount(), 1);
    frame->SetWizardHook([&](CSheetWizard* sheet) {
        QTimer::singleShot(0, sheet, [&, sheet] {
            preselected = Selected(sheet->ExtractPage()->List());
            sheet->reject();
        });
    });
    frame->Action(Cmd::Extract)->trigger();
    EXPECT_EQ(preselected, QStringList{Q(first)});
    EXPECT_EQ(doc.Files()->ChangedCount(), 0);
    frame->SetWizardHook({});
}

TEST(WizardCommands, FileNewReplacesTheOpenDictionary)
{
    ModalAnswers::Clear();
    TempDir dir;
    const std::string dic = CopySample(dir);
    Program program(dir.File("lorvo.ini"), {Q(dic)});
    CMainFrame* frame = program.frame();
    ASSERT_GT(program.tree()->topLevelItemCount(), 0);
    frame->SetWizardHook([&](CSheetWizard* sheet) {
        QTimer::singleShot(0, sheet, [&, sheet] {
            sheet->NewPage()->NameEdit()->setText(QStringLiteral("fresh"));
            sheet->NewPage()->LocationEdit()->setText(Q(dir.Path().string()));
            sheet->next();
            sheet->reject();
        });
    });
    frame->Action(Cmd::FileNew)->trigger();
    frame->SetWizardHook({});
    EXPECT_EQ(frame->Documents()->Doc().PathName(), dir.File("fresh.dic"));
    EXPECT_TRUE(frame->windowTitle().startsWith(Q(dir.File("fresh.dic"))));
    EXPECT_EQ(program.tree()->topLevelItemCount(), 0);
    EXPECT_TRUE(fs::exists(dir.File("fresh.fil")));
}
