// Finding and replacing in the lists on screen, finding texts in every
// resource, and the tools that move translations in and out of the
// dictionary, driven on a copy of the sample dictionary.
#include "app/CMainFrame.h"
#include "app/CommandIds.h"
#include "app/DocumentCommands.h"
#include "app/MaintenanceCommands.h"
#include "app/SearchCommands.h"
#include "dictionary/GeneralDictionary.h"
#include "gui/GuiTestSupport.h"
#include "gui/ProgramFixture.h"
#include "pages/CSheetWizard.h"
#include "pages/PropertySheet.h"
#include "pages/Sheets.h"
#include "preview/CDlgPreviewTabs.h"
#include "settings/Settings.h"
#include "tessary/CRkMessageBox.h"
#include "tessary/ModalAnswers.h"
#include "views/CListCtrlBookmark.h"
#include "windows/CDlgAlign.h"
#include "windows/CDlgEntityDictionary.h"
#include "windows/CDlgFind.h"
#include "windows/CDlgFindInResources.h"
#include "windows/CDlgGeneralDictionary.h"
#include "windows/CDlgGenerate.h"
#include "windows/CDlgImport.h"
#include "windows/CDlgTextLists.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QWizard>

#include <gtest/gtest.h>

namespace {

class Search : public SampleProgram
{
protected:
    SearchCommands* Searches() { return program->frame()->Searches(); }
    QString SelectedText(CDlgDictionaryBase* window, int column)
    {
        const int row = window->SelectedRow();
        return row < 0 ? QString() : window->List()->GetItemText(row, column);
    }
};

} // namespace

TEST_F(Search, FindIgnoresCaseByDefaultAndClosesOnTheHit)
{
    EXPECT_FALSE(program->frame()->Action(Cmd::EditReplace)->isEnabled());
    CDlgGeneralDictionary* window = ShowDictionary();
    EXPECT_TRUE(program->frame()->Action(Cmd::EditFind)->isEnabled());
    EXPECT_TRUE(program->frame()->Action(Cmd::EditReplace)->isEnabled());
    // Through the command, as the user opens it.
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<CDlgFind*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Find"));
        EXPECT_TRUE(dialog->AllColumnsButton()->isChecked());
        EXPECT_TRUE(dialog->DownButton()->isChecked());
        EXPECT_FALSE(dialog->MatchCaseBox()->isChecked());
        EXPECT_EQ(dialog->ColumnBox()->count(), 2); // Original and Translation
        dialog->FindWhatBox()->setEditText(QStringLiteral("haut"));
        dialog->FindButton()->click();
    });
    program->frame()->Action(Cmd::EditFind)->trigger();
    EXPECT_EQ(SelectedText(window, 1), QStringLiteral("Haut"));
    EXPECT_TRUE(Searches()->LastSearch().found);
    // The text went into the toolbar's box, and Find next can repeat it.
    EXPECT_EQ(program->frame()->FindBox()->itemText(0), QStringLiteral("haut"));
    EXPECT_TRUE(program->frame()->Action(Cmd::FindNext)->isEnabled());

    // Match case on: "haut" is not "Haut"; one column: the original only.
    CDlgFind dialog(window, Searches()->LastSearch(), QStringLiteral("haut"), program->frame());
    dialog.MatchCaseBox()->setChecked(true);
    ModalAnswers::Clear();
    dialog.OnFind();
    EXPECT_FALSE(dialog.Search().found);
    // The whole list was searched: no endless question.
    EXPECT_EQ(ModalAnswers::Shown(),
              (QStringList{QStringLiteral("The end of the list is reached. Would you like to continue ?"),
                           QStringLiteral("Text not found !")}));
    CDlgFind original(window, Searches()->LastSearch(), QStringLiteral("rechercher"), program->frame());
    original.OneColumnButton()->setChecked(true);
    original.ColumnBox()->setCurrentIndex(0);
    original.OnFind();
    EXPECT_FALSE(original.Search().found); // only translations say "Rechercher"
}

TEST_F(Search, TheToolbarBoxFindsNextAndPreviousAndAsksAtTheEnds)
{
    CDlgGeneralDictionary* window = ShowDictionary();
    QComboBox* box = program->frame()->FindBox();
    ASSERT_TRUE(box->isEnabled());
    box->setEditText(QStringLiteral("Annuler"));
    // Without a selected row the search starts at the top; Enter in the
    // box's edit field searches forward.
    window->List()->clearSelection();
    QTest::keyClick(box->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(SelectedText(window, 0), QStringLiteral("Cancel"));
    program->frame()->Action(Cmd::FindNext)->trigger();
    EXPECT_EQ(SelectedText(window, 0), QStringLiteral("Undo\\tCtrl+Z"));
    // Past the last hit: the question; No leaves the selection.
    ModalAnswers::Clear();
    ModalAnswers::Push(CRkMessageBox::IdNo);
    program->frame()->Action(Cmd::FindNext)->trigger();
    EXPECT_EQ(ModalAnswers::Shown(),
              QStringList{QStringLiteral("The end of the list is reached. Would you like to continue ?")});
    EXPECT_EQ(SelectedText(window, 0), QStringLiteral("Undo\\tCtrl+Z"));
    // Yes goes round to the first hit.
    ModalAnswers::Push(CRkMessageBox::IdYes);
    program->frame()->Action(Cmd::FindNext)->trigger();
    EXPECT_EQ(SelectedText(window, 0), QStringLiteral("Cancel"));
    ModalAnswers::Clear();
    ModalAnswers::Push(CRkMessageBox::IdNo);
    program->frame()->Action(Cmd::FindPrevious)->trigger();
    EXPECT_EQ(
        ModalAnswers::Shown(),
        QStringList{QStringLiteral("The beginning of the list is reached. Would you like to continue ?")});
    EXPECT_EQ(box->count(), 1);
    EXPECT_EQ(box->itemText(0), QStringLiteral("Annuler"));
}

TEST_F(Search, HistoriesKeepTenEntriesNewestFirst)
{
    QComboBox box;
    box.setEditable(true);
    for (int i = 1; i <= 11; ++i)
        AddToHistory(&box, QStringLiteral("text %1").arg(i));
    ASSERT_EQ(box.count(), 10);
    EXPECT_EQ(box.itemText(0), QStringLiteral("text 11"));
    EXPECT_EQ(box.itemText(9), QStringLiteral("text 2")); // the oldest went
    AddToHistory(&box, QStringLiteral("TEXT 5"));         // equal without case: moves up
    EXPECT_EQ(box.count(), 10);
    EXPECT_EQ(box.itemText(0), QStringLiteral("TEXT 5"));
    AddToHistory(&box, QStringLiteral("text 1")); // "text 11" begins with it: it goes
    EXPECT_EQ(box.count(), 10);
    EXPECT_EQ(box.findText(QStringLiteral("text 11")), -1);
    AddToHistory(&box, QString());
    EXPECT_EQ(box.itemText(0), QStringLiteral("text 1"));
    // The toolbar's box moves an equal text up and keeps longer ones.
    AddToHistory(&box, QStringLiteral("text"), false);
    EXPECT_EQ(box.count(), 10);
    EXPECT_NE(box.findText(QStringLiteral("text 1"), Qt::MatchExactly), -1);

    // The replacements come back the next time the dialog opens.
    CDlgGeneralDictionary* window = ShowDictionary();
    {
        CDlgReplace replace(window, ListSearch{}, QString(), program->frame());
        replace.ReplaceWithBox()->setEditText(QStringLiteral("Ouvrir"));
        replace.FindWhatBox()->setEditText(QStringLiteral("zzz"));
        ModalAnswers::Clear();
        replace.OnReplace();
        replace.reject();
    }
    CDlgReplace again(window, ListSearch{}, QString(), program->frame());
    ASSERT_EQ(again.ReplaceWithBox()->count(), 1);
    EXPECT_EQ(again.ReplaceWithBox()->itemText(0), QStringLiteral("Ouvrir"));
}

TEST_F(Search, ReplaceChangesTranslationsOnlyAndTheDictionaryOnlyOnOK)
{
    CDlgGeneralDictionary* window = ShowDictionary();
    CDlgReplace dialog(window, ListSearch{}, QString(), program->frame());
    EXPECT_EQ(dialog.AllColumnsButton()->text(), QStringLiteral("&All ( except the first one )"));
    ASSERT_EQ(dialog.ColumnBox()->count(), 1); // never the original
    EXPECT_EQ(dialog.ColumnBox()->itemText(0), QStringLiteral("Translation"));
    // No replacement: nothing happens.
    dialog.FindWhatBox()->setEditText(QStringLiteral("er"));
    dialog.OnReplaceAll();
    EXPECT_FALSE(window->HasChanges());
    EXPECT_EQ(dialog.CancelButton()->text(), QStringLiteral("Cancel"));
    // "er" in every translation, every occurrence ("Rechercher" has two);
    // the originals ("Other formats", "Searching") keep theirs.
    dialog.ReplaceWithBox()->setEditText(QStringLiteral("ER"));
    dialog.OnReplaceAll();
    EXPECT_TRUE(dialog.LastReport().contains(QStringLiteral("occurrence(s) replaced in")));
    EXPECT_EQ(dialog.CancelButton()->text(), QStringLiteral("Close"));
    CListCtrlEx* list = window->List();
    EXPECT_EQ(list->GetItemText(RowOf(list, QStringLiteral("Find")), 1), QStringLiteral("RechERchER"));
    EXPECT_EQ(list->GetItemText(RowOf(list, QStringLiteral("Save As")), 1),
              QStringLiteral("EnregistrER sous"));
    EXPECT_NE(RowOf(list, QStringLiteral("Other formats")), -1);
    EXPECT_NE(RowOf(list, QStringLiteral("Searching")), -1);
    EXPECT_EQ(Translation("Find"), "Rechercher"); // not written yet
    EXPECT_TRUE(window->HasChanges());
    // Cancel asks; No drops the replacements.
    ModalAnswers::Clear();
    ModalAnswers::Push(CRkMessageBox::IdNo);
    window->OnCancel();
    EXPECT_EQ(Translation("Find"), "Rechercher");
    EXPECT_FALSE(window->isVisible());

    // Replace: the cell found, the first occurrence, kept on OK.
    window = ShowDictionary();
    CDlgReplace one(window, ListSearch{}, QString(), program->frame());
    one.FindWhatBox()->setEditText(QStringLiteral("haut"));
    one.ReplaceWithBox()->setEditText(QStringLiteral("En haut"));
    one.OnReplace();
    EXPECT_EQ(SelectedText(window, 0), QStringLiteral("Up"));
    EXPECT_EQ(SelectedText(window, 1), QStringLiteral("En haut"));
    EXPECT_EQ(window->TranslationEdit()->text(), QStringLiteral("En haut"));
    window->OnOK();
    EXPECT_EQ(Translation("Up"), "En haut");
}

TEST_F(Search, CtrlFFindsInTheResourcesWhereNoListIsShownAndF3FindsNext)
{
    // On the tree and the previews there is no list: Ctrl+F looks for a
    // text in the resources.
    ASSERT_FALSE(program->frame()->Searches()->ListWindow());
    QAction* find = program->frame()->Action(Cmd::EditFind);
    EXPECT_TRUE(find->isEnabled());
    EXPECT_EQ(find->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F));
    bool offered = false;
    QTimer::singleShot(0, [&offered] {
        QWidget* modal = QApplication::activeModalWidget();
        offered = qobject_cast<CDlgFindInResources*>(modal) != nullptr;
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
    });
    find->trigger();
    EXPECT_TRUE(offered);
    EXPECT_EQ(program->frame()->Action(Cmd::FindNext)->shortcut(), QKeySequence(Qt::Key_F3));
    EXPECT_EQ(program->frame()->Action(Cmd::FindPrevious)->shortcut(), QKeySequence(Qt::SHIFT | Qt::Key_F3));
}

TEST_F(Search, ReplaceAllWithAFilterChangesOnlyTheRowsShown)
{
    CDlgGeneralDictionary* window = ShowDictionary();
    CListCtrlEx* list = window->List();
    const int saveAs = RowOf(list, QStringLiteral("Save As"));
    const int find = RowOf(list, QStringLiteral("Find"));
    ASSERT_GE(saveAs, 0);
    ASSERT_GE(find, 0);
    // Only "Find ..." rows are shown; "Save As" ("Enregistrer sous") is hidden.
    window->FilterEdit()->setText(QStringLiteral("Find"));
    window->ApplyFilter();
    ASSERT_FALSE(window->RowShown(saveAs));
    CDlgReplace dialog(window, ListSearch{}, QString(), program->frame());
    dialog.FindWhatBox()->setEditText(QStringLiteral("er"));
    dialog.ReplaceWithBox()->setEditText(QStringLiteral("ER"));
    dialog.OnReplaceAll();
    EXPECT_EQ(list->GetItemText(find, 1), QStringLiteral("RechERchER"));
    EXPECT_EQ(list->GetItemText(saveAs, 1), QStringLiteral("Enregistrer sous"));
    EXPECT_TRUE(dialog.LastReport().startsWith(QStringLiteral("4 occurrence(s) replaced in 2 text(s)")))
        << dialog.LastReport().toStdString();
}

namespace {

// The letters marked with "&" on the buttons and labels of a window that
// clash, as "letter: first / second".
// The access keys a window's buttons and labels clash on, with the keys
// already taken around it (the menu bar of the window it lies in, the
// buttons of the sheet that holds a page).
std::string ClashingAccessKeys(const QWidget* window, const QStringList& around = {})
{
    QMap<QChar, QString> taken;
    QStringList clashes;
    const auto take = [&](const QString& text) {
        const QChar letter = AccessKeyOf(text);
        if (letter.isNull())
            return;
        if (taken.contains(letter))
            clashes << QStringLiteral("%1: %2 / %3").arg(letter).arg(taken[letter], text);
        taken[letter] = text;
    };
    for (const QString& text : around)
        take(text);
    for (const QAbstractButton* button : window->findChildren<QAbstractButton*>())
        take(button->text());
    for (const QLabel* label : window->findChildren<QLabel*>())
        take(label->text());
    return clashes.join(QStringLiteral("; ")).toStdString();
}

} // namespace

TEST_F(Search, TheProgramsOwnDialogsHaveAccessKeysOfTheirOwn)
{
    CDlgGeneralDictionary* window = ShowDictionary();
    CDlgReplace replace(window, ListSearch{}, QString(), program->frame());
    EXPECT_EQ(ClashingAccessKeys(&replace), "");
    CDlgFind find(window, ListSearch{}, QString(), program->frame());
    EXPECT_EQ(ClashingAccessKeys(&find), "");
    CDlgImport import(&Doc(), &program->frame()->Documents()->Reporter(), program->frame());
    EXPECT_EQ(ClashingAccessKeys(&import), "");
    CDlgAlign align(&Doc(), &program->frame()->Documents()->Reporter(), program->frame());
    EXPECT_EQ(ClashingAccessKeys(&align), "");
    EXPECT_EQ(ClashingAccessKeys(window), "");
    CDlgFindInResources inResources(program->frame());
    EXPECT_EQ(ClashingAccessKeys(&inResources), "");
    CDlgGenerate generate(&Doc(), &program->frame()->Documents()->Reporter(), program->frame());
    EXPECT_EQ(ClashingAccessKeys(&generate), "");
    CDlgTextsNotToTranslate notToTranslate(&Doc(), program->frame());
    EXPECT_EQ(ClashingAccessKeys(&notToTranslate), "");
    CDlgUnusedTexts unused(&Doc(), program->frame());
    EXPECT_EQ(ClashingAccessKeys(&unused), "");
    window->OnCancel();

    // The Texts window lies in the main window: its keys and the menu
    // bar's share the keyboard.
    QStringList menus;
    for (const QAction* top : program->frame()->menuBar()->actions())
        menus << top->text();
    program->Select({"sample.rc", "Menus", "IDR_MAINFRAME"});
    program->Tab(CDlgPreviewTabs::TabTexts);
    ASSERT_NE(program->frame()->TextsWindow(), nullptr);
    EXPECT_EQ(ClashingAccessKeys(program->frame()->TextsWindow(), menus), "");

    // Each page of the wizard with the wizard's buttons, each page of the
    // options.
    CSheetWizard wizard(CSheetWizard::FileNewSet, &Doc(), &program->frame()->Documents()->Reporter(),
                        program->frame());
    const QStringList steps{wizard.buttonText(QWizard::BackButton), wizard.buttonText(QWizard::NextButton),
                            wizard.buttonText(QWizard::FinishButton),
                            wizard.buttonText(QWizard::CancelButton)};
    for (int id : wizard.pageIds())
        EXPECT_EQ(ClashingAccessKeys(wizard.page(id), steps), "") << id;
    CSheetOptions options(&Doc(), program->frame()->OriginalFont(), program->frame()->TranslationFont(),
                          program->frame());
    for (const SheetPage* page : options.findChildren<SheetPage*>())
        EXPECT_EQ(ClashingAccessKeys(page, {}), "") << page->objectName().toStdString();
}
