// The main of the window tests: an offscreen QApplication, settings and
// registry in throw-away places, and the library's modal dialogs answered
// without showing.
#include "tessary/CoolDisplay.h"
#include "tessary/GlobalVarsForDll.h"
#include "tessary/ModalAnswers.h"

#include <QApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", (home.path() + QStringLiteral("/data")).toLocal8Bit());
    qputenv("LINGOREL_SETTINGS", (home.path() + QStringLiteral("/lorvo.ini")).toLocal8Bit());
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("lingorel-tests"));
    GlobalVarsForDll::csSoftName = QStringLiteral("Lingorel");
    GlobalVarsForDll::csShortSoftName = QStringLiteral("lorvo");
    GlobalVarsForDll::csIni = home.path() + QStringLiteral("/lorvo.ini");
    ModalAnswers::SetAutomatic(true);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
