#include "TestSupport.h"
#include "settings/Settings.h"
#include "tessary/CLogFile.h"
#include "tessary/CRegistryAccess.h"
#include "tessary/GlobalVarsForDll.h"
#include "tessary/ModalAnswers.h"

#include <QCoreApplication>
#include <QFile>

#include <gtest/gtest.h>

TEST(GlobalVarsForDll, SettingsAndLogPathsFollowTheProgramFile)
{
    TempDir dir;
    const QString folder = QString::fromStdString(dir.Path().string());
    EXPECT_EQ(GlobalVarsForDll::BaseNameOf(QStringLiteral("/app/lorvo")), QStringLiteral("lorvo"));
    EXPECT_EQ(GlobalVarsForDll::BaseNameOf(QStringLiteral("/app/my.tool.exe")), QStringLiteral("my"));
    const QByteArray saved = qgetenv("LINGOREL_SETTINGS");
    qunsetenv("LINGOREL_SETTINGS");
    // Beside a program in a writable folder.
    EXPECT_EQ(GlobalVarsForDll::SettingsPathFor(folder + QStringLiteral("/my.tool"), {}),
              folder + QStringLiteral("/my.ini"));
    // A folder that cannot be written: the user's configuration folder.
    EXPECT_EQ(GlobalVarsForDll::SettingsPathFor(QStringLiteral("/nonexistent/bin/lorvo"), {}),
              qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/lingorel/lorvo.ini"));
    // The command line wins over the environment, which wins over the rest.
    qputenv("LINGOREL_SETTINGS", "/tmp/from-env.ini");
    EXPECT_EQ(GlobalVarsForDll::SettingsPathFor(folder + QStringLiteral("/lorvo"), {}),
              QStringLiteral("/tmp/from-env.ini"));
    EXPECT_EQ(GlobalVarsForDll::SettingsPathFor(
                  folder + QStringLiteral("/lorvo"),
                  {QStringLiteral("lorvo"), QStringLiteral("--settings"), QStringLiteral("/tmp/arg.ini")}),
              QStringLiteral("/tmp/arg.ini"));
    qputenv("LINGOREL_SETTINGS", saved);
}

TEST(GlobalVarsForDll, FirstLaunchShowsTheWelcomeOnceAndClearsTheMark)
{
    TempDir dir;
    const QByteArray saved = qgetenv("LINGOREL_SETTINGS");
    const std::string ini = dir.File("lorvo.ini");
    qputenv("LINGOREL_SETTINGS", QByteArray::fromStdString(ini));
    ModalAnswers::Clear();
    EXPECT_TRUE(GlobalVarsForDll::InitVars(true)); // no settings file yet
    EXPECT_EQ(GlobalVarsForDll::csIni, QString::fromStdString(ini));
    EXPECT_EQ(ModalAnswers::Shown().size(), 1);

    const Settings settings(ini);
    settings.Set(Settings::Flag::Reload, true);
    settings.SetFirstLaunchMark();
    EXPECT_TRUE(GlobalVarsForDll::InitVars(true));
    EXPECT_FALSE(settings.HasFirstLaunchMark());
    EXPECT_TRUE(settings.Get(Settings::Flag::Reload));
    EXPECT_FALSE(GlobalVarsForDll::InitVars(true));
    EXPECT_EQ(ModalAnswers::Shown().size(), 2);
    qputenv("LINGOREL_SETTINGS", saved);
}

TEST(GlobalVarsForDll, BrowserCommandsTakeTheAddress)
{
    const QString address = QStringLiteral("https://example.org/a");
    EXPECT_EQ(
        GlobalVarsForDll::BrowserCommand(QStringLiteral("\"C:\\b\\browser.exe\" -nohome \"%1\""), address),
        QStringLiteral("\"C:\\b\\browser.exe\" -nohome \"https://example.org/a"));
    EXPECT_EQ(GlobalVarsForDll::BrowserCommand(QStringLiteral("browser %1 --new-tab"), address),
              QStringLiteral("browser https://example.org/a --new-tab"));
    EXPECT_EQ(GlobalVarsForDll::BrowserCommand(QStringLiteral("browser"), address),
              QStringLiteral("browser https://example.org/a"));
}

namespace {

// The user's settings, log and data folder put in a test folder (lorvo.ini,
// lorvo.log, data/) for the life of the object.
struct UserFilesIn
{
    explicit UserFilesIn(const TempDir& dir)
        : ini(GlobalVarsForDll::csIni), log(GlobalVarsForDll::csLog), data(qgetenv("XDG_DATA_HOME"))
    {
        GlobalVarsForDll::csIni = QString::fromStdString(dir.File("lorvo.ini"));
        GlobalVarsForDll::csLog = QString::fromStdString(dir.File("lorvo.log"));
        qputenv("XDG_DATA_HOME", QByteArray::fromStdString(dir.File("data")));
    }
    ~UserFilesIn()
    {
        GlobalVarsForDll::csIni = ini;
        GlobalVarsForDll::csLog = log;
        qputenv("XDG_DATA_HOME", data);
    }
    QString ini;
    QString log;
    QByteArray data;
};

} // namespace

TEST(GlobalVarsForDll, UninstallWithoutAManifestDeletesNothing)
{
    TempDir dir;
    WriteBytes(dir.File("keep.txt"), "x");
    CLogFile::SetFileName(QString::fromStdString(dir.File("uninstall.log")));
    const UserFilesIn user(dir); // none there: no settings, log or sample copy
    ModalAnswers::Clear();
    ModalAnswers::Push(6); // Yes, remove it
    EXPECT_FALSE(GlobalVarsForDll::Uninstall(QString::fromStdString(dir.Path().string())));
    EXPECT_TRUE(std::filesystem::exists(dir.File("keep.txt")));
    EXPECT_NE(ReadBytes(dir.File("uninstall.log")).find("Desinstall !."), std::string::npos);
    ASSERT_EQ(ModalAnswers::Shown().size(), 2);
    EXPECT_TRUE(ModalAnswers::Shown()[1].startsWith(QStringLiteral("No list of installed files")))
        << ModalAnswers::Shown()[1].toStdString();
}

TEST(GlobalVarsForDll, UninstallRemovesOnlyTheListedFiles)
{
    TempDir dir;
    std::filesystem::create_directories(dir.File("share/sub"));
    WriteBytes(dir.File("lorvo-bin"), "x");
    WriteBytes(dir.File("share/sub/a.png"), "x");
    WriteBytes(dir.File("user.dic"), "mine");
    const std::string manifest = dir.File(
        GlobalVarsForDll::BaseNameOf(QCoreApplication::applicationFilePath()).toStdString() + ".manifest");
    WriteBytes(manifest, "lorvo-bin\nshare/sub/a.png\n../outside.txt\n");
    WriteBytes(dir.File("../outside.txt"), "x");
    CLogFile::SetFileName(QString::fromStdString(dir.File("uninstall.log")));
    ModalAnswers::Clear();
    ModalAnswers::Push(6);
    EXPECT_TRUE(GlobalVarsForDll::Uninstall(QString::fromStdString(dir.Path().string())));
    EXPECT_FALSE(std::filesystem::exists(dir.File("lorvo-bin")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("share")));
    EXPECT_TRUE(std::filesystem::exists(dir.File("user.dic")));
    EXPECT_TRUE(std::filesystem::exists(dir.File("../outside.txt")));
    std::filesystem::remove(dir.File("../outside.txt"));
}

TEST(CLogFile, LinesAndTheRollover)
{
    EXPECT_EQ(
        CLogFile::FormatLine(QStringLiteral("Start"), 0xFFFFFFFF, QStringLiteral("07/12/2026 (10:11:12)")),
        QStringLiteral("07/12/2026 (10:11:12) Start.\n"));
    EXPECT_EQ(CLogFile::FormatLine(QStringLiteral("Load"), 42, QStringLiteral("07/12/2026 (10:11:12)")),
              QStringLiteral("07/12/2026 (10:11:12) Load (duration=42 ms).\n"));
    TempDir dir;
    const QString saved = CLogFile::FileName();
    CLogFile::SetFileName(QString::fromStdString(dir.File("lorvo.log")));
    WriteBytes(dir.File("lorvo.log"), std::string(300000, 'x'));
    EXPECT_TRUE(CLogFile::LogLine("first", 0xFF, 0xFFFFFFFF));
    EXPECT_EQ(ReadBytes(dir.File("lorvo.log")).size(), 300000u + 29u); // not cleared below 300,001 bytes
    EXPECT_TRUE(CLogFile::LogLine("second", 0xFF, 0xFFFFFFFF));
    const std::string log = ReadBytes(dir.File("lorvo.log"));
    EXPECT_EQ(log.substr(0, 30), "Log file cleared (> 300 Ko) !\n");
    EXPECT_NE(log.find(") second.\n"), std::string::npos);
    CLogFile::SetLogFileCondition(0x01);
    EXPECT_TRUE(CLogFile::LogLine("filtered out", 0x02, 0xFFFFFFFF));
    EXPECT_EQ(ReadBytes(dir.File("lorvo.log")).find("filtered out"), std::string::npos);
    CLogFile::SetLogFileCondition(0xFF);
    CLogFile::SetFileName(saved);
}

TEST(CRegistryAccess, ValuesAndKeysRoundTrip)
{
    CRegistryAccess key(CRegistryAccess::Root::CurrentUser, QStringLiteral("Software\\Tessary\\Test"));
    ASSERT_TRUE(key.OpenKey());
    std::uint32_t number = 7;
    EXPECT_TRUE(key.GetValueData(QStringLiteral("Width"), number, true)); // created
    number = 0;
    EXPECT_TRUE(key.GetValueData(QStringLiteral("Width"), number, false));
    EXPECT_EQ(number, 7u);
    EXPECT_TRUE(key.SetValueData(QStringLiteral("Name"), QStringLiteral("value")));
    QString text;
    EXPECT_TRUE(key.GetValueData(QStringLiteral("Name"), text, false));
    EXPECT_EQ(text, QStringLiteral("value"));
    QString missing;
    EXPECT_FALSE(key.GetValueData(QStringLiteral("Missing"), missing, false));
    QStringList names, data;
    EXPECT_TRUE(key.GetValues(names, data));
    EXPECT_TRUE(names.contains(QStringLiteral("Width")));
    EXPECT_TRUE(key.DeleteValue(QStringLiteral("Width")));
    EXPECT_FALSE(key.DeleteValue(QStringLiteral("Width")));
    EXPECT_TRUE(key.CloseKey());
    EXPECT_FALSE(key.IsKeyOpen());

    CRegistryAccess parent(CRegistryAccess::Root::CurrentUser, QStringLiteral("Software\\Tessary"));
    QStringList keys;
    EXPECT_TRUE(parent.GetKeys(keys));
    EXPECT_TRUE(keys.contains(QStringLiteral("Test")));
}

TEST(GlobalVarsForDll, UninstallOfAnInstalledProgramRemovesOnlyTheUsersOwnFiles)
{
    TempDir dir;
    TempDir program; // a package's folder: no list of installed files
    WriteBytes(program.File("lorvo"), "a package file");
    const UserFilesIn user(dir);
    WriteBytes(dir.File("lorvo.ini"), "[Parameters]\n");
    std::filesystem::create_directories(dir.File("data/lingorel/sample"));
    WriteBytes(dir.File("data/lingorel/sample/sample.dic"), "General dictionary\r\n");
    WriteBytes(dir.File("data/other.txt"), "not ours");
    CLogFile::SetFileName(QString::fromStdString(dir.File("uninstall.log")));
    ModalAnswers::Clear();
    ModalAnswers::Push(6); // Yes, remove it
    EXPECT_TRUE(GlobalVarsForDll::Uninstall(QString::fromStdString(program.Path().string())));
    EXPECT_FALSE(std::filesystem::exists(dir.File("lorvo.ini")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("data/lingorel/sample")));
    EXPECT_TRUE(std::filesystem::exists(dir.File("data/other.txt")));
    EXPECT_TRUE(std::filesystem::exists(program.File("lorvo")));
    ASSERT_EQ(ModalAnswers::Shown().size(), 2);
    // It says what it removed.
    EXPECT_TRUE(ModalAnswers::Shown()[1].contains(QString::fromStdString(dir.File("lorvo.ini"))));
    EXPECT_TRUE(ModalAnswers::Shown()[1].contains(QStringLiteral("lingorel/sample/")));
}
