#include "TestSupport.h"
#include "gui/GuiTestSupport.h"
#include "settings/Settings.h"
#include "tessary/CColorStatic.h"
#include "tessary/CRkCoolDlg.h"
#include "tessary/CRkCoolTabCtrl.h"
#include "tessary/CRkMessageBox.h"
#include "tessary/CWaitWindow.h"
#include "tessary/CoolDisplay.h"
#include "tessary/GlobalVarsForDll.h"
#include "tessary/ModalAnswers.h"
#include "tessary/TessaryStrings.h"
#include "tessary/YesNoAllBox.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

void SetTextures(bool on)
{
    int value = on ? 1 : 0;
    SetGetCoolDisplay(false, value, SlotTextures);
}

// A dialog with the usual parts: help banner, edit, group box with radio
// buttons and a check box, push buttons.
CRkCoolDlg* SampleDialog()
{
    auto* dialog = new CRkCoolDlg;
    dialog->setWindowTitle(QStringLiteral("Find"));
    auto* layout = new QVBoxLayout(dialog);
    CRkCoolDlg::AddHelpBanner(dialog, layout,
                              {QStringLiteral("Search for a text in the dictionary."),
                               QStringLiteral("Texts are searched in the first column of the list.")});
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Fi&nd what:")));
    row->addWidget(new QLineEdit(QStringLiteral("Open")));
    layout->addLayout(row);
    auto* group = new QGroupBox(QStringLiteral("Direction"));
    auto* inner = new QHBoxLayout(group);
    inner->addWidget(new QRadioButton(QStringLiteral("&Up")));
    auto* down = new QRadioButton(QStringLiteral("&Down"));
    down->setChecked(true);
    inner->addWidget(down);
    layout->addWidget(group);
    layout->addWidget(new QCheckBox(QStringLiteral("Match &case")));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    auto* next = new QPushButton(QStringLiteral("&Find next"));
    next->setDefault(true);
    buttons->addWidget(next);
    auto* disabled = new QPushButton(QStringLiteral("&Replace"));
    disabled->setEnabled(false);
    buttons->addWidget(disabled);
    buttons->addWidget(new QPushButton(QStringLiteral("Cancel")));
    layout->addLayout(buttons);
    dialog->resize(380, 250);
    return dialog;
}

QPushButton* Button(QWidget* parent, int id)
{
    return parent->findChild<QPushButton*>(QString::number(id));
}

} // namespace

TEST(CoolDisplay, SlotsStartOnExceptTheSuppressionMask)
{
    int value = -1;
    SetGetCoolDisplay(true, value, 1);
    EXPECT_EQ(value, 1);
    SetGetCoolDisplay(true, value, SlotPaintedTitle);
    EXPECT_EQ(value, 1);
    SetGetCoolDisplay(true, value, SlotSuppressed);
    EXPECT_EQ(value, 0);
    int zero = 0;
    SetGetCoolDisplay(false, zero, 5);
    SetGetCoolDisplay(true, value, 5);
    EXPECT_EQ(value, 0);
}

TEST(CoolDisplay, LuminosityAndTheCaptionGradient)
{
    EXPECT_EQ(GetLuminosity(0x000000), 0);
    EXPECT_EQ(GetLuminosity(0xFFFFFF), 240);
    EXPECT_EQ(GetLuminosity(0xFF0000), 120); // pure blue: (255 + 0) * 240 + 255 = 61455, / 510
    EXPECT_EQ(GetLuminosity(0x808080), 120);
    EXPECT_EQ(CaptionTextColour(Qt::blue, QColor(10, 10, 10)), QColor(Qt::white));
    EXPECT_EQ(CaptionTextColour(Qt::blue, QColor(250, 250, 200)), QColor(250, 250, 200));

    const auto columns = CaptionGradient(QColor(0, 0, 255), 600);
    ASSERT_EQ(columns.size(), 600u);
    EXPECT_EQ(columns[599], QColor(0, 0, 255));
    EXPECT_EQ(columns[500], QColor(0, 0, 255)); // the right sixth
    EXPECT_EQ(columns[499], QColor(0, 0, 255)); // first strip, g = 0
    EXPECT_EQ(columns[0], QColor(0, 0, 0));
    // Fading from right to left.
    for (std::size_t x = 1; x < 500; ++x)
        EXPECT_LE(columns[x - 1].blue(), columns[x].blue());
    // Strips of 500 / 80 = 6 pixels; the one 250 pixels away has 1 − ¼ of blue.
    EXPECT_EQ(columns[500 - 252 - 1].blue(), int(255 * (1.0 - 252.0 * 252 / (500.0 * 500))));
    EXPECT_EQ(FromColorRef(0x0080FF), QColor(255, 128, 0));
    EXPECT_EQ(ToColorRef(QColor(255, 128, 0)), 0x0080FFu);
}

TEST(CoolDisplay, TexturesAreFoundWithoutRegardToCase)
{
    EXPECT_FALSE(LoadCoolBitmap(QStringLiteral("Background")).isNull());
    for (const char* name :
         {"BACKGROUND", "BACKGROUND_LIGHT", "BACKGROUND_ORANGE", "BACKGROUND_BLUE", "BACKGROUND_GREEN",
          "BACKGROUND_YELLOW", "BACKGROUND_DARK", "SKY", "PINK", "_FLAG"})
        EXPECT_FALSE(LoadCoolBitmap(QString::fromLatin1(name)).isNull()) << name;
    EXPECT_TRUE(LoadCoolBitmap(QStringLiteral("NO_SUCH_TEXTURE")).isNull());
}

TEST(CoolDisplay, ButtonsAndGroupBoxesFollowTheTextureSetting)
{
    SetTextures(true);
    std::unique_ptr<CRkCoolDlg> dialog(SampleDialog());
    dialog->show();
    auto* button = dialog->findChild<QPushButton*>();
    auto* group = dialog->findChild<QGroupBox*>();
    auto* edit = dialog->findChild<QLineEdit*>();
    EXPECT_EQ(button->style(), CoolStyle());
    EXPECT_EQ(group->style(), CoolStyle());
    EXPECT_NE(edit->style(), CoolStyle());
    auto* banner = dialog->findChild<CColorStatic*>(QStringLiteral("42000"));
    ASSERT_NE(banner, nullptr);
    EXPECT_EQ(banner->GetBackColor(), 0xC8FFFFu);
    EXPECT_NE(dialog->findChild<QLabel*>(QStringLiteral("42002")), nullptr);
    // The background is the texture, not the window colour.
    const QImage textured = dialog->grab().toImage();
    EXPECT_NE(textured.pixelColor(5, dialog->height() - 5), QApplication::palette().color(QPalette::Window));

    SetTextures(false);
    dialog->Restyle();
    EXPECT_NE(button->style(), CoolStyle());
    EXPECT_NE(group->style(), CoolStyle());
    const QImage plain = dialog->grab().toImage();
    EXPECT_EQ(plain.pixelColor(5, dialog->height() - 5), QApplication::palette().color(QPalette::Window));
    SetTextures(true);
}

TEST(CRkMessageBox, ButtonSetsAndLabels)
{
    TessaryStrings::SetLanguage(TessaryStrings::English);
    CRkMessageBox box;
    box.SetText(QStringLiteral("Proceed ?"));
    EXPECT_EQ(box.SetType(0x0000, -1), 0);
    // Only the set's buttons are there, and the check box only with a
    // category.
    EXPECT_FALSE(Button(&box, 1)->isHidden());
    EXPECT_TRUE(Button(&box, 2)->isHidden());
    EXPECT_TRUE(Button(&box, 9)->isHidden());
    EXPECT_TRUE(box.findChild<QCheckBox*>()->isHidden());
    EXPECT_EQ(Button(&box, 1)->text(), QStringLiteral("&Ok"));
    box.SetType(0x0003, -1);
    EXPECT_EQ(Button(&box, 1)->text(), QStringLiteral("&Yes"));
    EXPECT_EQ(Button(&box, 2)->text(), QStringLiteral("&No"));
    EXPECT_EQ(Button(&box, 9)->text(), QStringLiteral("&Cancel"));
    EXPECT_FALSE(Button(&box, 9)->isHidden());
    EXPECT_TRUE(box.findChild<QCheckBox*>()->isHidden()); // no category
    box.SetType(0x0004, 2);
    EXPECT_TRUE(Button(&box, 9)->isHidden());
    EXPECT_FALSE(box.findChild<QCheckBox*>()->isHidden());

    TessaryStrings::SetLanguage(TessaryStrings::French);
    CRkMessageBox french;
    french.SetType(0x0004, 3);
    EXPECT_EQ(Button(&french, 1)->text(), QStringLiteral("&Oui"));
    EXPECT_EQ(Button(&french, 2)->text(), QStringLiteral("&Non"));
    TessaryStrings::SetLanguage(TessaryStrings::German);
    EXPECT_EQ(TessaryStrings::Load(40014), QStringLiteral("Warnmeldung"));
    TessaryStrings::SetLanguage(TessaryStrings::English);
}

TEST(CRkMessageBox, ClickedButtonsAnswerTheirIdentifiers)
{
    ModalAnswers::SetAutomatic(false);
    for (const auto& [button, expected] : std::vector<std::pair<int, int>>{{1, 6}, {2, 7}, {9, 2}}) {
        CRkMessageBox box;
        box.SetText(QStringLiteral("Save ?"));
        box.SetType(0x0003, -1);
        QTimer::singleShot(0, &box,
                           [&box, id = button] { QTest::mouseClick(Button(&box, id), Qt::LeftButton); });
        EXPECT_EQ(box.Run(), expected);
    }
    CRkMessageBox escaped;
    escaped.SetType(0x0004, -1);
    QTimer::singleShot(0, &escaped, [&escaped] { QTest::keyClick(&escaped, Qt::Key_Escape); });
    EXPECT_EQ(escaped.Run(), 7);
    // With a Cancel button, Escape cancels rather than answering No.
    CRkMessageBox cancelled;
    cancelled.SetType(0x0003, -1);
    QTimer::singleShot(0, &cancelled, [&cancelled] { QTest::keyClick(&cancelled, Qt::Key_Escape); });
    EXPECT_EQ(cancelled.Run(), 2);
    ModalAnswers::SetAutomatic(true);
}

TEST(CRkMessageBox, ASuppressedCategoryAnswersByItself)
{
    ModalAnswers::SetAutomatic(false);
    CRkMessageBox::SetSuppressedMask(0);
    CRkMessageBox box;
    box.SetText(QStringLiteral("Delete the file ?"));
    box.SetType(0x0004, 4);
    QTimer::singleShot(0, &box, [&box] {
        box.findChild<QCheckBox*>()->setChecked(true);
        QTest::mouseClick(Button(&box, 1), Qt::LeftButton);
    });
    EXPECT_EQ(box.Run(), 6);
    EXPECT_EQ(CRkMessageBox::SuppressedMask(), 8);
    EXPECT_EQ(Settings(GlobalVarsForDll::csIni.toStdString()).SuppressedCategories(), 8);

    // Not shown any more: the default button answers.
    ModalAnswers::Clear();
    EXPECT_EQ(RkMessageBox(QStringLiteral("Again ?"), 0x0004, -1, nullptr, nullptr, 4), 6);
    EXPECT_EQ(RkMessageBox(QStringLiteral("Again ?"), 0x0104, -1, nullptr, nullptr, 4), 7);
    EXPECT_EQ(RkMessageBox(QStringLiteral("Again ?"), 0x0203, -1, nullptr, nullptr, 4), 2);
    EXPECT_EQ(RkMessageBox(QStringLiteral("Again ?"), 0x0200, -1, nullptr, nullptr, 4), 2);
    EXPECT_TRUE(ModalAnswers::Shown().isEmpty());
    CRkMessageBox::SetSuppressedMask(0);
    ModalAnswers::SetAutomatic(true);
}

TEST(YesNoAllBox, EachButtonAndEscape)
{
    ModalAnswers::SetAutomatic(false);
    for (const auto& [id, expected] :
         std::vector<std::pair<int, int>>{{1, 0}, {1121, 1}, {2, 2}, {1122, 3}}) {
        YesNoAllBox box;
        box.SetQuestion(
            QStringLiteral("The file a.rc has changed, do you want to extract the new resources ?"));
        QTimer::singleShot(0, &box, [&box, id = id] { QTest::mouseClick(Button(&box, id), Qt::LeftButton); });
        EXPECT_EQ(box.Run(), expected) << id;
    }
    YesNoAllBox box;
    QTimer::singleShot(0, &box, [&box] { QTest::keyClick(&box, Qt::Key_Escape); });
    EXPECT_EQ(box.Run(), YesNoAllBox::No);
    EXPECT_EQ(box.windowTitle(), QStringLiteral("Lingorel"));
    ModalAnswers::SetAutomatic(true);
}

TEST(CWaitWindow, ShowsProgressWithTheWaitCursor)
{
    {
        CWaitWindow wait(QStringLiteral("Loading dictionary"), CWaitWindow::WithProgressBar);
        EXPECT_TRUE(wait.isVisible());
        ASSERT_NE(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        wait.SetRange(4);
        wait.Step();
        wait.Step();
        EXPECT_EQ(wait.Position(), 2);
        EXPECT_EQ(wait.ProgressBar()->maximum(), 4);
        EXPECT_NE(wait.findChild<QLabel*>(QStringLiteral("23852"))->pixmap().isNull(), true);
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    CWaitWindow plain(QStringLiteral("Searching"), CWaitWindow::TextAndAnimation);
    EXPECT_EQ(plain.ProgressBar(), nullptr);
}

TEST(TessaryDemo, GrabsOfTheStyledLook)
{
    for (bool textures : {true, false}) {
        SetTextures(textures);
        const QString suffix = textures ? QStringLiteral("-textured") : QStringLiteral("-plain");
        std::unique_ptr<CRkCoolDlg> dialog(SampleDialog());
        EXPECT_FALSE(GrabToPng(dialog.get(), QStringLiteral("cool-dialog") + suffix).isEmpty());

        CRkMessageBox box;
        box.SetText(QStringLiteral("Do you want to delete all shortcuts ?"));
        box.SetType(0x0024, 5);
        box.adjustSize();
        GrabToPng(&box, QStringLiteral("message-box") + suffix);

        CWaitWindow wait(QStringLiteral("Updating the dictionary"), CWaitWindow::WithProgressBar);
        wait.SetRange(10);
        wait.SetPosition(6);
        GrabToPng(&wait, QStringLiteral("wait-window") + suffix);

        CRkCoolTabCtrl tabs;
        tabs.addTab(new QLabel(QStringLiteral("General options")), QStringLiteral("General"));
        tabs.addTab(new QLabel(QStringLiteral("Fonts")), QStringLiteral("Dictionary"));
        tabs.addTab(new QLabel(QStringLiteral("Colours")), QStringLiteral("Color"));
        tabs.resize(360, 120);
        GrabToPng(&tabs, QStringLiteral("tab-control") + suffix);
    }
    SetTextures(true);
}
