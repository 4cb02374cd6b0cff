// The program's window driven as a user drives it, on the offscreen
// platform: start on the sample, the tree, the previews, the tree's
// commands, and the state kept for the next start.
#include "TestSupport.h"
#include "app/CMainFrame.h"
#include "app/CTrelvarApp.h"
#include "app/CommandIds.h"
#include "app/DocumentCommands.h"
#include "dictionary/FileList.h"
#include "dictionary/GeneralDictionary.h"
#include "dictionary/NotExtractedList.h"
#include "gui/GuiTestSupport.h"
#include "gui/ProgramFixture.h"
#include "preview/CDlgPreview.h"
#include "preview/CDlgPreviewTabs.h"
#include "preview/PreviewFit.h"
#include "preview/PreviewFonts.h"
#include "settings/Settings.h"
#include "tessary/GlobalVarsForDll.h"
#include "tessary/ModalAnswers.h"
#include "views/CResTreeCtrl.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMap>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSplitter>
#include <QTabBar>
#include <QTest>

#include <functional>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

TEST(MainWindow, DialogUnitsMapToWindowsPixels)
{
    ASSERT_TRUE(RegisterPreviewFonts()) << "the MS Sans Serif clone of fonts-wine is missing";
    EXPECT_EQ(BaseUnits(TemplateFont()), QSize(6, 13));
    EXPECT_EQ(MapDialogRect({40, 10, 159, 18}, QSize(6, 13)), QRect(60, 16, 179, 13));
}

TEST(MainWindow, TheFirstStartOpensTheSampleAndShowsItsTree)
{
    TempDir dir;
    ModalAnswers::Clear();
    Program program(dir.File("lorvo.ini"));
    EXPECT_TRUE(program.app.FirstStart());
    EXPECT_EQ(ModalAnswers::Shown().size(), 1); // the welcome
    const CTrelvarDoc& doc = program.frame()->Documents()->Doc();
    ASSERT_TRUE(doc.IsOpen());
    EXPECT_EQ(doc.Name(), "sample");
    EXPECT_TRUE(program.frame()->windowTitle().contains(QStringLiteral("sample.dic")));
    // The user's own copy in the data folder, its paths pointing there: a
    // program that cannot write beside itself works on it all the same.
    const std::string copy = qEnvironmentVariable("XDG_DATA_HOME").toStdString() + "/lingorel/sample";
    EXPECT_EQ(doc.PathName(), copy + "/sample.dic");
    ASSERT_NE(doc.Files()->Find(copy + "/sample.rc"), nullptr);
    EXPECT_EQ(doc.DefaultDestinationFolder(), copy + "/translated");
    EXPECT_EQ(doc.Files()->ChangedCount(), 0);

    ASSERT_EQ(program.tree()->topLevelItemCount(), 1);
    QTreeWidgetItem* file = program.tree()->topLevelItem(0);
    EXPECT_EQ(file->text(0), QStringLiteral("sample.rc"));
    EXPECT_EQ(Texts(file), (QStringList{"Dialog boxes", "Menus", "Stringtable"}));
    EXPECT_EQ(Texts(file->child(0)), (QStringList{"IDD_ABOUTBOX", "IDD_DIALOG1", "IDD_OPTIONS"}));
    EXPECT_EQ(Texts(file->child(1)), (QStringList{"IDR_CONTEXT", "IDR_MAINFRAME"}));
    // The first start shows the translated tab and the sample's dialog.
    EXPECT_EQ(program.frame()->PreviewTabs()->SelectedTab(), 1);
    EXPECT_EQ(program.tree()->currentItem(), program.Item({"sample.rc", "Dialog boxes", "IDD_DIALOG1"}));
    ASSERT_NE(program.tree()->DialogPreview(), nullptr);
    EXPECT_TRUE(program.tree()->DialogPreview()->isVisible());
    EXPECT_TRUE(program.frame()->Action(Cmd::FileSave)->isEnabled());
    EXPECT_TRUE(program.frame()->Action(Cmd::Import)->isEnabled());
    // No list on screen: nothing for Replace to change; Find looks in the
    // resources.
    EXPECT_TRUE(program.frame()->Action(Cmd::EditFind)->isEnabled());
    EXPECT_FALSE(program.frame()->Action(Cmd::EditReplace)->isEnabled());
    EXPECT_FALSE(program.frame()->FindBox()->isEnabled());
    EXPECT_TRUE(program.frame()->Action(Cmd::Help)->isEnabled());
    GrabToPng(program.frame(), QStringLiteral("main-window"));
}

TEST(MainWindow, TheOriginalPreviewBuildsEveryControl)
{
    TempDir dir;
    Program program(dir.File("lorvo.ini"));
    program.Tab(CDlgPreviewTabs::TabOriginal);
    program.Select({"sample.rc", "Dialog boxes", "IDD_ABOUTBOX"});
    CDlgPreview* preview = program.tree()->DialogPreview();
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->Caption(), QStringLiteral("About Sample"));
    const PreviewDialogInfo& dialog = program.tree()->Description();
    ASSERT_EQ(dialog.controls.size(), 4u);
    // 217 by 62 dialog units of MS Sans Serif 8: 326 by 101 pixels.
    EXPECT_EQ(preview->Client()->size(), QSize(326, 101));
    const PreviewControl& version = *dialog.controls[1];
    auto* label = qobject_cast<QLabel*>(preview->ControlWidget(version.index));
    ASSERT_NE(label, nullptr);
    EXPECT_TRUE(label->text().contains(QStringLiteral("Sample Version 1.0")));
    EXPECT_EQ(label->geometry(), QRect(60, 16, 179, 13));
    auto* copyright = qobject_cast<QLabel*>(preview->ControlWidget(dialog.controls[2]->index));
    ASSERT_NE(copyright, nullptr);
    EXPECT_TRUE(copyright->text().contains(QString::fromUtf8("Copyright \xC2\xA9 2026")));
    auto* ok = qobject_cast<QPushButton*>(preview->ControlWidget(dialog.controls[3]->index));
    ASSERT_NE(ok, nullptr);
    EXPECT_TRUE(ok->isDefault());
    EXPECT_EQ(ok->text(), QStringLiteral("OK"));
    EXPECT_TRUE(preview->Frames().empty()); // never on the original tab

    program.Select({"sample.rc", "Dialog boxes", "IDD_DIALOG1"});
    preview = program.tree()->DialogPreview();
    ASSERT_NE(preview, nullptr);
    int checkBoxes = 0, groups = 0;
    for (const auto& control : program.tree()->Description().controls) {
        QWidget* w = preview->ControlWidget(control->index);
        checkBoxes += qobject_cast<QCheckBox*>(w) != nullptr;
        groups += qobject_cast<QGroupBox*>(w) != nullptr;
    }
    EXPECT_EQ(checkBoxes, 2);
    EXPECT_EQ(groups, 1);
    GrabToPng(preview, QStringLiteral("preview-original"));
}

TEST(MainWindow, TheTranslationTabFramesUntranslatedTexts)
{
    TempDir dir;
    Program program(dir.File("lorvo.ini"));
    program.Tab(CDlgPreviewTabs::TabTranslation);
    program.Select({"sample.rc", "Dialog boxes", "IDD_DIALOG1"});
    CDlgPreview* preview = program.tree()->DialogPreview();
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->Caption(), QStringLiteral("Rechercher"));
    const auto& controls = program.tree()->Description().controls;
    const PreviewControl* find = nullptr;
    const PreviewControl* searching = nullptr;
    for (const auto& c : controls) {
        if (c->text == "Fi&nd what:")
            find = c.get();
        if (c->text.rfind("Searching", 0) == 0)
            searching = c.get();
    }
    ASSERT_NE(find, nullptr);
    ASSERT_NE(searching, nullptr);
    EXPECT_EQ(find->displayText, "Re&chercher:");
    EXPECT_TRUE(qobject_cast<QLabel*>(preview->ControlWidget(find->index))
                    ->text()
                    .contains(QStringLiteral("<u>c</u>")));
    EXPECT_EQ(searching->translated, 0);

    // The untranslated text is framed in the rectangle colour (red).
    const QImage image = preview->Client()->grab().toImage();
    const QRect frame = preview->PixelRect(searching->index).adjusted(-1, -1, 1, 1);
    EXPECT_EQ(image.pixelColor(frame.left(), frame.center().y()), QColor(255, 0, 0));
    EXPECT_EQ(image.pixelColor(frame.center().x(), frame.top()), QColor(255, 0, 0));
    // A translated one is not.
    const QRect translatedFrame = preview->PixelRect(find->index).adjusted(-1, -1, 1, 1);
    EXPECT_NE(image.pixelColor(translatedFrame.left(), translatedFrame.center().y()), QColor(255, 0, 0));
    GrabToPng(preview, QStringLiteral("preview-translated"));
}

TEST(MainWindow, ThePreviewFramesAsTooLongWhatCheckFindsTooLong)
{
    TempDir dir;
    Program program(dir.File("lorvo.ini"));
    // A translation too long for its check box; the preview draws with
    // the user's translation font, Check with the template's.
    program.Tab(CDlgPreviewTabs::TabTranslation);
    program.Select({"sample.rc", "Dialog boxes", "IDD_ABOUTBOX"});
    CTrelvarDoc& doc = program.frame()->Documents()->Doc();
    ASSERT_TRUE(doc.IsOpen());
    doc.General()->SetTranslation("Match whole word only",
                                  "Respecter uniquement les mots entiers et complets");
    program.frame()->PrepareCommand();
    program.frame()->SetFonts("DejaVu Sans;60;0;0;0", "DejaVu Sans;60;0;0;0", false, true);
    program.Select({"sample.rc", "Dialog boxes", "IDD_DIALOG1"});
    CDlgPreview* preview = program.tree()->DialogPreview();
    ASSERT_NE(preview, nullptr);
    std::vector<int> framed;
    for (const CDlgPreview::Frame& frame : preview->Frames()) {
        if (frame.tooLong)
            framed.push_back(frame.index);
    }
    PreviewFitMeasure check;
    EXPECT_EQ(framed, check.TooLarge(program.tree()->Description()));
    EXPECT_EQ(framed.size(), 1u);
}

TEST(MainWindow, TheMenuPreviewCascades)
{
    TempDir dir;
    Program program(dir.File("lorvo.ini"));
    program.Tab(CDlgPreviewTabs::TabTranslation);
    program.Select({"sample.rc", "Menus", "IDR_MAINFRAME"});
    EXPECT_EQ(program.tree()->DialogPreview(), nullptr);
    CDlgPreview* preview = program.tree()->MenuPreview();
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->Caption(), QStringLiteral("Menu bar"));
    QMenuBar* bar = preview->MenuBar();
    ASSERT_NE(bar, nullptr);
    const QList<QAction*> top = bar->actions();
    ASSERT_EQ(top.size(), 4);
    EXPECT_EQ(top[0]->text(), QStringLiteral("&Fichier"));
    QMenu* file = top[0]->menu();
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->actions()[0]->text(), QStringLiteral("&Nouveau\tCtrl+N"));
    EXPECT_TRUE(file->actions()[4]->isSeparator());
    QMenu* exporter = file->actions()[5]->menu();
    ASSERT_NE(exporter, nullptr);
    EXPECT_EQ(exporter->title(), QStringLiteral("E&xporter"));
    QMenu* others = exporter->actions()[2]->menu();
    ASSERT_NE(others, nullptr);
    EXPECT_EQ(others->actions().size(), 2);
    GrabToPng(preview, QStringLiteral("preview-menu"));

    program.Select({"sample.rc", "Stringtable"});
    EXPECT_EQ(program.tree()->MenuPreview(), nullptr);
}

TEST(MainWindow, DoNotExtractTwiceChangesNothingAndDeleteRemovesAScript)
{
    TempDir dir;
    const std::string dic = CopySample(dir);
    Program program(dir.File("lorvo.ini"), {QString::fromStdString(dic)});
    CTrelvarDoc& doc = program.frame()->Documents()->Doc();
    ASSERT_EQ(doc.PathName(), dic);
    program.Select({"sample.rc", "Dialog boxes", "IDD_OPTIONS"});
    const int before = doc.NotExtracted()->Count();
    QAction* doNotExtract = program.frame()->Action(Cmd::DoNotExtract);
    program.frame()->UpdateActions();
    ASSERT_TRUE(doNotExtract->isEnabled());
    EXPECT_FALSE(doNotExtract->isChecked());
    doNotExtract->trigger();
    EXPECT_EQ(doc.NotExtracted()->Count(), before + 1);
    program.frame()->UpdateActions();
    EXPECT_TRUE(doNotExtract->isChecked());
    doNotExtract->trigger();
    EXPECT_EQ(doc.NotExtracted()->Count(), before);
    EXPECT_TRUE(doc.IsModified());

    // Delete on a dialog does nothing; on the script it removes it.
    QTest::keyClick(program.tree(), Qt::Key_Delete);
    EXPECT_EQ(doc.Files()->FileCount(), 1);
    program.Select({"sample.rc"});
    QTest::keyClick(program.tree(), Qt::Key_Delete);
    EXPECT_EQ(doc.Files()->FileCount(), 0);
    EXPECT_EQ(program.tree()->topLevelItemCount(), 0);
    ModalAnswers::Push(7); // do not save the changes
}

TEST(MainWindow, TheWindowStateComesBackAtTheNextStart)
{
    TempDir dir;
    const std::string dic = CopySample(dir);
    const std::string ini = dir.File("lorvo.ini");
    {
        Program program(ini, {QString::fromStdString(dic)});
        program.frame()->Splitter()->setSizes({310, 700});
        program.Tab(CDlgPreviewTabs::TabOriginal);
        program.Select({"sample.rc", "Menus", "IDR_CONTEXT"});
    }
    const Settings settings(ini);
    EXPECT_EQ(settings.Get(Settings::Integer::SplitCx), 310);
    EXPECT_EQ(settings.Get(Settings::Integer::SelTab), 0);
    EXPECT_EQ(settings.Get(dic, Settings::DictionaryKey::SelTreeItem),
              (fs::path(QCoreApplication::applicationDirPath().toStdString()) / "sample.rc").string() +
                  ";Menus;IDR_CONTEXT");
    settings.Set(Settings::Flag::Reload, true);
    Program again(ini);
    EXPECT_FALSE(again.app.FirstStart());
    EXPECT_EQ(again.frame()->Documents()->Doc().PathName(), dic); // reloaded
    EXPECT_EQ(again.frame()->Splitter()->sizes().value(0), 310);
    EXPECT_EQ(again.frame()->PreviewTabs()->SelectedTab(), 0);
    EXPECT_EQ(again.tree()->currentItem(), again.Item({"sample.rc", "Menus", "IDR_CONTEXT"}));
    EXPECT_NE(again.tree()->MenuPreview(), nullptr);
}

TEST(MainWindowKeys, EveryMenuHasAccessKeysOfItsOwn)
{
    TempDir dir;
    ModalAnswers::Clear();
    Program program(dir.File("lorvo.ini"));
    const auto unique = [](const QList<QAction*>& actions, const QString& where) {
        QMap<QChar, QString> taken;
        for (const QAction* action : actions) {
            const QString text = action->menu() ? action->menu()->title() : action->text();
            const QChar letter = AccessKeyOf(text);
            if (letter.isNull() || action->isSeparator())
                continue;
            EXPECT_FALSE(taken.contains(letter)) << where.toStdString() << ": " << text.toStdString()
                                                 << " and " << taken[letter].toStdString();
            taken[letter] = text;
        }
    };
    QMenuBar* bar = program.frame()->menuBar();
    unique(bar->actions(), QStringLiteral("menu bar"));
    for (const QAction* top : bar->actions()) {
        if (top->menu())
            unique(top->menu()->actions(), top->menu()->title());
    }
}

TEST(MainWindow, PreviewTextsOfOtherScriptsAreDrawnInAFontThatHasTheirAccents)
{
    // The Windows metric clones draw Greek tonos and Cyrillic letters
    // wrongly; such a text is drawn and measured in the system's sans font.
    const QFont templateFont = TemplateFont();
    const QFont greek = FontForText(templateFont, QStringLiteral("Κοινή χρήση"));
    EXPECT_EQ(FontForText(templateFont, QStringLiteral("Caf\u00e9 \u2026")), templateFont);
    EXPECT_EQ(greek.pixelSize(), templateFont.pixelSize());
    if (templateFont.family() == QStringLiteral("MS Sans Serif")) {
        EXPECT_NE(greek.family(), templateFont.family());
    }
    // A font the user chose is the user's.
    QFont chosen(QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(FontForText(chosen, QStringLiteral("Κοινή")), chosen);
}
