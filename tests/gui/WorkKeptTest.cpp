// What a translator types is never lost, the windows fit their screen and
// the keys go where the user looks: the Dictionary and Texts windows, the
// filter, the main window's place, the wizard's keys and the open
// dictionary's messages, driven on copies of the sample.
#include "app/CommandIds.h"
#include "app/DocumentCommands.h"
#include "dictionary/ContextDictionary.h"
#include "dictionary/FileList.h"
#include "dictionary/GeneralDictionary.h"
#include "dictionary/ScriptInsertion.h"
#include "engine/ScriptRuns.h"
#include "gui/GuiTestSupport.h"
#include "gui/ProgramFixture.h"
#include "pages/CPageInsert.h"
#include "pages/CPageNew.h"
#include "pages/CSheetWizard.h"
#include "settings/Settings.h"
#include "tessary/CRkMessageBox.h"
#include "tessary/GlobalVarsForDll.h"
#include "tessary/ModalAnswers.h"
#include "views/CListCtrlBookmark.h"
#include "windows/CDlgEntityDictionary.h"
#include "windows/CDlgGeneralDictionary.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

class WorkKept : public SampleProgram
{
protected:
    // Types into the Translation field as the user does.
    void Type(QLineEdit* edit, const QString& text)
    {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
};

} // namespace

TEST_F(WorkKept, EscapeAsksBeforeDroppingChangedRows)
{
    CDlgGeneralDictionary* window = ShowDictionary();
    ModalAnswers::Clear();
    CListCtrlEx* list = window->List();
    SelectRow(list, RowOf(list, QStringLiteral("Up")));
    Type(window->TranslationEdit(), QStringLiteral("En haut"));
    window->ModifyButton()->click();
    // Cancel in the question: back to the window, nothing lost.
    ModalAnswers::Push(CRkMessageBox::IdCancel);
    QTest::keyClick(window, Qt::Key_Escape);
    EXPECT_EQ(ModalAnswers::Shown().size(), 1);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(list->GetItemText(RowOf(list, QStringLiteral("Up")), 1), QStringLiteral("En haut"));
    // Yes: written as OK writes.
    ModalAnswers::Push(CRkMessageBox::IdYes);
    QTest::keyClick(window, Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(Translation("Up"), "En haut");
    // Without changes nothing is asked.
    window = ShowDictionary();
    ModalAnswers::Clear();
    QTest::keyClick(window, Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(ModalAnswers::Shown().isEmpty());
}

TEST_F(WorkKept, EnterAppliesTheTranslationAndGoesOn)
{
    CDlgGeneralDictionary* window = ShowDictionary();
    CListCtrlEx* list = window->List();
    std::string originals[3];
    for (int row = 0; row < 3; ++row)
        originals[row] = list->GetItemText(row, 0).toStdString();
    SelectRow(list, 0);
    Type(window->TranslationEdit(), QStringLiteral("Premier"));
    QTest::keyClick(window->TranslationEdit(), Qt::Key_Return);
    EXPECT_TRUE(window->isVisible()); // Enter is not OK
    EXPECT_EQ(list->GetItemText(0, 1), QStringLiteral("Premier"));
    EXPECT_EQ(window->SelectedRow(), 1);
    EXPECT_TRUE(window->TranslationEdit()->hasFocus());
    // A translation typed and not applied: moving to another row keeps it,
    // and so does OK.
    Type(window->TranslationEdit(), QStringLiteral("Suivant"));
    SelectRow(list, 2);
    EXPECT_EQ(list->GetItemText(1, 1), QStringLiteral("Suivant"));
    Type(window->TranslationEdit(), QStringLiteral("Encore"));
    window->findChild<QPushButton*>(QStringLiteral("1"))->click();
    EXPECT_EQ(Translation(originals[0]), "Premier");
    EXPECT_EQ(Translation(originals[1]), "Suivant");
    EXPECT_EQ(Translation(originals[2]), "Encore");
    // No cell of the list opens an editor that would swallow what is typed.
    window = ShowDictionary();
    EXPECT_FALSE(window->List()->InPlaceEditing());
}

TEST_F(WorkKept, TheFilterHidesRowsAndLosesNothing)
{
    CDlgGeneralDictionary* window = ShowDictionary();
    CListCtrlEx* list = window->List();
    const int all = list->GetItemCount();
    auto shown = [list] {
        int n = 0;
        for (int row = 0; row < list->GetItemCount(); ++row)
            n += !list->isRowHidden(row, QModelIndex());
        return n;
    };
    window->FilterEdit()->setText(QStringLiteral("HAUT")); // any case, in the translation too
    EXPECT_EQ(shown(), 1);
    EXPECT_FALSE(list->isRowHidden(RowOf(list, QStringLiteral("Up")), QModelIndex()));
    // A typed translation survives its row being filtered away.
    SelectRow(list, RowOf(list, QStringLiteral("Up")));
    Type(window->TranslationEdit(), QStringLiteral("Dessus"));
    window->FilterEdit()->setText(QStringLiteral("Down"));
    EXPECT_EQ(list->GetItemText(RowOf(list, QStringLiteral("Up")), 1), QStringLiteral("Dessus"));
    window->FilterEdit()->clear();
    window->UntranslatedOnlyBox()->setChecked(true);
    const int untranslated = Doc().General()->TextCount() - Doc().General()->CountTranslated();
    EXPECT_EQ(shown(), untranslated);
    window->UntranslatedOnlyBox()->setChecked(false);
    EXPECT_EQ(shown(), all);
    // OK writes every row, shown or not.
    window->FilterEdit()->setText(QStringLiteral("zzz"));
    window->OnOK();
    EXPECT_EQ(Translation("Up"), "Dessus");
    EXPECT_EQ(Doc().General()->TextCount(), all);

    // The same filter in the Texts window.
    program->Tab(CDlgPreviewTabs::TabTexts);
    program->Select({"sample.rc", "Dialog boxes", "IDD_DIALOG1"});
    CDlgEntityDictionary* texts = program->frame()->TextsWindow();
    ASSERT_NE(texts, nullptr);
    texts->FilterEdit()->setText(QStringLiteral("Find"));
    int visible = 0;
    for (int row = 0; row < texts->List()->GetItemCount(); ++row)
        visible += !texts->List()->isRowHidden(row, QModelIndex());
    EXPECT_GE(visible, 1);
    EXPECT_LT(visible, texts->List()->GetItemCount());
}

TEST_F(WorkKept, TheTextsWindowKeepsTypedTextsAndFillsItsPane)
{
    program->Tab(CDlgPreviewTabs::TabTexts);
    program->Select({"sample.rc", "Dialog boxes", "IDD_DIALOG1"});
    CDlgEntityDictionary* texts = program->frame()->TextsWindow();
    ASSERT_NE(texts, nullptr);
    ASSERT_TRUE(texts->isVisible());
    // It covers the pane: its list gets the room.
    const QWidget* pane = texts->parentWidget();
    EXPECT_GT(texts->width(), pane->width() - 40);
    EXPECT_GT(texts->height(), pane->height() - 40);
    const int row = RowOf(texts->List(), QStringLiteral("Find"));
    ASSERT_GE(row, 0);
    SelectRow(texts->List(), row);
    Type(texts->ContextEdit(), QStringLiteral("Trouver ici"));
    // Another resource is chosen before Modify: the text is stored anyway.
    program->Select({"sample.rc", "Dialog boxes", "IDD_ABOUTBOX"});
    const auto* section = Doc().Context()->FindFile(Doc().Files()->Files().begin()->value.source);
    ASSERT_NE(section, nullptr);
    EXPECT_EQ(ContextDictionary::FindEntry(*section, "IDD_DIALOG1+Find")->contextTranslation, "Trouver ici");

    // After the Dictionary window, the Texts tab shows the resource again.
    CDlgGeneralDictionary* window = ShowDictionary();
    EXPECT_FALSE(texts->isVisible());
    window->OnCancel();
    EXPECT_TRUE(texts->isVisible());
    EXPECT_GT(texts->List()->GetItemCount(), 0);
}

TEST_F(WorkKept, TheDictionaryWindowKeepsItsKeys)
{
    CDlgGeneralDictionary* window = ShowDictionary();
    // A window of its own: the main menu's Alt keys do not reach into it.
    EXPECT_NE(window->windowType(), Qt::Tool);
    window->activateWindow();
    QApplication::processEvents();
    window->List()->setFocus();
    QTest::keyClick(window, Qt::Key_T, Qt::AltModifier);
    EXPECT_TRUE(window->TranslationEdit()->hasFocus());
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    // Its list and edits grow with it; the translation takes the width.
    window->resize(640, 480);
    QApplication::processEvents();
    const QSize before = window->List()->size();
    window->resize(740, 560);
    QApplication::processEvents();
    EXPECT_EQ(window->size(), QSize(740, 560));
    EXPECT_EQ(window->List()->width(), before.width() + 100);
    EXPECT_GE(window->List()->height(), before.height() + 80); // more where the help wraps less
    EXPECT_GE(window->List()->GetColumnWidth(0) + window->List()->GetColumnWidth(1),
              window->List()->viewport()->width() - 2);
}

TEST(MainWindowPlace, FirstStartCentredThenWhereItWas)
{
    TempDir dir;
    ModalAnswers::Clear();
    {
        Program program(dir.File("lorvo.ini"));
        CMainFrame* frame = program.frame();
        frame->hide();
        frame->ShowAtRememberedPlace();
        QApplication::processEvents();
        const QRect screen = frame->screen()->availableGeometry();
        EXPECT_NEAR(frame->width(), screen.width() * 4 / 5, 2);
        EXPECT_NEAR(frame->height(), screen.height() * 4 / 5, 2);
        EXPECT_NEAR(frame->geometry().center().x(), screen.center().x(), 20);
        frame->setGeometry(40, 50, 700, 500);
        frame->Splitter()->setSizes({310, 590});
        QApplication::processEvents();
        frame->close();
    }
    const Settings settings(dir.File("lorvo.ini"));
    EXPECT_EQ(settings.Get(Settings::Integer::MainWidth), 700);
    EXPECT_EQ(settings.Get(Settings::Integer::MainHeight), 500);
    EXPECT_EQ(settings.Get(Settings::Integer::SplitCx), 310);
    Program again(dir.File("lorvo.ini"));
    again.frame()->hide();
    again.frame()->ShowAtRememberedPlace();
    QApplication::processEvents();
    EXPECT_EQ(again.frame()->size(), QSize(700, 500));
    EXPECT_EQ(again.frame()->Splitter()->sizes().value(0), 310);
    // The inside of the window is what comes back, start after start: a
    // frame added by the window manager cannot make it creep.
    EXPECT_EQ(again.frame()->geometry().topLeft(), QPoint(40, 50));
    again.frame()->close();
    Program third(dir.File("lorvo.ini"));
    third.frame()->hide();
    third.frame()->ShowAtRememberedPlace();
    QApplication::processEvents();
    EXPECT_EQ(third.frame()->geometry(), QRect(40, 50, 700, 500));
}

TEST(WizardKeys, EnterGoesOnAndMnemonicsAreUnique)
{
    TempDir dir;
    ModalAnswers::Clear();
    Program program(dir.File("lorvo.ini"));
    CTrelvarDoc& doc = program.frame()->Documents()->Doc();
    bool checked = false;
    program.frame()->SetWizardHook([&](CSheetWizard* sheet) {
        QTimer::singleShot(0, sheet, [&, sheet] {
            // Every letter marked with "&" on a page and its buttons is its own.
            for (int id : sheet->pageIds()) {
                QStringList letters;
                auto collect = [&letters](const QString& text) {
                    const int at = text.indexOf(QLatin1Char('&'));
                    if (at >= 0 && at + 1 < text.size() && text[at + 1] != QLatin1Char('&'))
                        letters << text.mid(at + 1, 1).toLower();
                };
                for (QLabel* label : sheet->page(id)->findChildren<QLabel*>())
                    collect(label->text());
                for (QAbstractButton* button : sheet->page(id)->findChildren<QAbstractButton*>())
                    collect(button->text());
                for (auto which : {QWizard::BackButton, QWizard::NextButton, QWizard::FinishButton})
                    collect(sheet->buttonText(which));
                QStringList unique = letters;
                unique.removeDuplicates();
                EXPECT_EQ(letters.size(), unique.size()) << letters.join(',').toStdString();
            }
            // Enter in the name field goes on to the next page.
            auto* page = qobject_cast<CPageNew*>(sheet->currentPage());
            ASSERT_NE(page, nullptr);
            page->NameEdit()->setText(QStringLiteral("keys"));
            page->LocationEdit()->setText(QString::fromStdString(dir.File("new folder")));
            ModalAnswers::Push(CRkMessageBox::IdYes); // the folder is created
            page->NameEdit()->setFocus();
            QTest::keyClick(page->NameEdit(), Qt::Key_Return);
            checked = sheet->currentId() == CSheetWizard::PageInsert;
            sheet->reject();
        });
    });
    program.frame()->Action(Cmd::FileNew)->trigger();
    EXPECT_TRUE(checked);
    EXPECT_TRUE(std::filesystem::exists(dir.File("new folder/keys.dic")));
    EXPECT_TRUE(doc.IsOpen());
}

TEST(OpeningMessages, OneRightMessageAndNothingHalfLoaded)
{
    TempDir dir;
    ModalAnswers::Clear();
    Program program(dir.File("lorvo.ini"));
    DocumentCommands* documents = program.frame()->Documents();
    ModalAnswers::Clear();
    const QString gone = QString::fromStdString(dir.File("gone.dic"));
    EXPECT_FALSE(documents->OpenDocumentFile(gone));
    ASSERT_EQ(ModalAnswers::Shown().size(), 1);
    EXPECT_EQ(ModalAnswers::Shown()[0],
              QStringLiteral("Error when opening file %1\nNo such file or directory").arg(gone));

    // A .ent cut in the middle of a record: the user is asked, No opens
    // nothing.
    const std::string copy = CopySample(dir);
    const std::string ent = dir.File("sample.ent");
    std::string bytes = ReadBytes(ent);
    bytes.resize(bytes.size() - 10);
    WriteBytes(ent, bytes);
    ModalAnswers::Clear();
    ModalAnswers::Push(CRkMessageBox::IdNo);
    EXPECT_FALSE(documents->OpenDocumentFile(QString::fromStdString(copy)));
    ASSERT_EQ(ModalAnswers::Shown().size(), 2);
    EXPECT_TRUE(ModalAnswers::Shown()[0].contains(QStringLiteral("could not be read at line")));
    EXPECT_TRUE(ModalAnswers::Shown()[1].contains(QStringLiteral("the dictionary is not opened")));
    EXPECT_NE(documents->Doc().PathName(), copy);
    // Yes opens what could be read; saving then asks before replacing it.
    ModalAnswers::Clear();
    ModalAnswers::Push(CRkMessageBox::IdYes);
    EXPECT_TRUE(documents->OpenDocumentFile(QString::fromStdString(copy)));
    EXPECT_EQ(documents->Doc().UnreadableFiles(), std::vector<std::string>{ent});
    ModalAnswers::Push(CRkMessageBox::IdNo);
    documents->Doc().SetModifiedFlag();
    EXPECT_FALSE(documents->OnFileSave());
    EXPECT_EQ(ReadBytes(ent), bytes);
}

TEST(ChangedScripts, AreOfferedOncePerStart)
{
    TempDir dir;
    const std::string script = dir.File("app.rc");
    {
        // A dictionary whose script changed since its extraction.
        WriteBytes(script, "STRINGTABLE\r\nBEGIN\r\n    IDS_A \"Alpha\"\r\nEND\r\n");
        CTrelvarDoc doc;
        ASSERT_TRUE(doc.CreateDictionary("d", dir.Path().string(), dir.Path().string(), dir.Path().string()));
        ASSERT_EQ(InsertScript(*doc.Files(), script, dir.File("out.rc"), {}).message, 0);
        ExtractScripts(doc, {script}, nullptr, nullptr, nullptr);
        ASSERT_TRUE(doc.Save());
        TouchFile(script, 5);
    }
    const std::string dic = dir.File("d.dic");
    ModalAnswers::Clear();
    int wizards = 0;
    {
        Program program(dir.File("lorvo.ini"));
        program.frame()->SetWizardHook([&wizards](CSheetWizard* sheet) {
            ++wizards;
            QTimer::singleShot(0, sheet, [sheet] { sheet->reject(); });
        });
        ModalAnswers::Clear();
        // Opening asks (the automatic answer is Yes) and the Extract wizard
        // comes once the opening is over; then the program is activated.
        ASSERT_TRUE(program.frame()->Documents()->OpenDocumentFile(QString::fromStdString(dic)));
        EXPECT_TRUE(WaitUntil([&] { return wizards > 0; }));
        program.frame()->OnActivateApp();
        QTest::qWait(100);
    }
    int questions = 0;
    for (const QString& shown : ModalAnswers::Shown())
        questions += shown.contains(QStringLiteral("has changed"));
    EXPECT_EQ(questions, 1);
    EXPECT_EQ(wizards, 1);
}
