// The translation memory from the command line: every save teaches it,
// files are added and removed as sources, pretranslate fills what has no
// translation, and a memory that cannot be used never stops a save.
#include "cli/CliRunner.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

TEST(CliMemory, SavesTeachItAndPretranslateFillsASecondProject)
{
    TempDir dir;
    ASSERT_EQ(RunCli(dir, {"sample", "--folder", dir.File("s")}).exit, 0);
    // A save of the translated sample puts its translations in the memory.
    ASSERT_EQ(RunCli(dir, {"translate", dir.File("s/sample.dic"), "Cancel", "Annuler"}).exit, 0);
    const Result stats = RunCli(dir, {"memory", "stats"});
    EXPECT_NE(stats.out.find("source(s)"), std::string::npos) << stats.out;
    EXPECT_NE(stats.out.find(dir.File("s/sample.dic")), std::string::npos) << stats.out;
    const Result found = RunCli(dir, {"memory", "find", "Cancel", "--limit", "1"});
    EXPECT_EQ(found.out, "100\tCancel\tAnnuler\t" + dir.File("s/sample.dic") + "\n");

    // A second project of the same language.
    WriteBytes(dir.File("other.rc"), "IDD_B DIALOG 0, 0, 100, 50\r\nBEGIN\r\n"
                                     "    PUSHBUTTON \"Cancel\",IDCANCEL,7,7,50,14\r\n"
                                     "    PUSHBUTTON \"Cancels\",2,7,27,50,14\r\nEND\r\n");
    ASSERT_EQ(RunCli(dir, {"new", dir.Path().string(), "other"}).exit, 0);
    ASSERT_EQ(RunCli(dir, {"insert", dir.File("other.dic"), dir.File("other.rc"), "--destination",
                           dir.File("out/")})
                  .exit,
              0);
    ASSERT_EQ(RunCli(dir, {"extract", dir.File("other.dic")}).exit, 0);
    const Result filled = RunCli(dir, {"pretranslate", dir.File("other.dic")});
    EXPECT_EQ(filled.exit, 0) << filled.err;
    EXPECT_NE(filled.out.find("1 text(s) filled, 1 from exact matches"), std::string::npos) << filled.out;
    ASSERT_EQ(RunCli(dir, {"generate", dir.File("other.dic")}).exit, 0);
    EXPECT_NE(ReadBytes(dir.File("out/other.rc")).find("\"Annuler\",IDCANCEL"), std::string::npos);
    EXPECT_NE(ReadBytes(dir.File("out/other.rc")).find("\"Cancels\",2"), std::string::npos);
    // Close matches only when asked.
    const Result close = RunCli(dir, {"pretranslate", dir.File("other.dic"), "--min-score", "80"});
    EXPECT_NE(close.out.find("1 text(s) filled, 0 from exact matches"), std::string::npos) << close.out;
    EXPECT_EQ(RunCli(dir, {"pretranslate", dir.File("other.dic"), "--min-score", "20"}).exit, 2);
}

TEST(CliMemory, FilesComeAndGoAsSources)
{
    TempDir dir;
    ASSERT_EQ(RunCli(dir, {"sample", "--folder", dir.File("s")}).exit, 0);
    ASSERT_EQ(RunCli(dir, {"export", dir.File("s/sample.dic"), dir.File("fr.tmx")}).exit, 0);
    const Result added = RunCli(dir, {"memory", "add", dir.File("fr.tmx")});
    ASSERT_EQ(added.exit, 0) << added.err;
    EXPECT_NE(added.out.find("Added "), std::string::npos);
    EXPECT_NE(RunCli(dir, {"memory", "stats"}).out.find(dir.File("fr.tmx")), std::string::npos);
    const Result removed = RunCli(dir, {"memory", "remove", dir.File("fr.tmx")});
    EXPECT_EQ(removed.exit, 0) << removed.err;
    EXPECT_EQ(RunCli(dir, {"memory", "stats"}).out.find(dir.File("fr.tmx")), std::string::npos);
    EXPECT_EQ(RunCli(dir, {"memory", "remove", dir.File("fr.tmx")}).exit, 1);
    EXPECT_EQ(RunCli(dir, {"memory", "add", dir.File("missing.po")}).exit, 1);
    EXPECT_EQ(RunCli(dir, {"memory", "stats", "extra"}).exit, 2);
    EXPECT_EQ(RunCli(dir, {"memory", "frobnicate"}).exit, 2);
}

TEST(CliMemory, ADamagedMemoryNeverStopsASave)
{
    TempDir dir;
    ASSERT_EQ(RunCli(dir, {"sample", "--folder", dir.File("s")}).exit, 0);
    fs::create_directories(dir.File(".data/lingorel"));
    WriteBytes(dir.File(".data/lingorel/memory.db"), std::string(8192, 'x'));
    const Result saved = RunCli(dir, {"translate", dir.File("s/sample.dic"), "Cancel", "Abbrechen"});
    EXPECT_EQ(saved.exit, 0) << saved.err;
    EXPECT_NE(saved.err.find("the translation memory was not updated"), std::string::npos) << saved.err;
    EXPECT_NE(ReadBytes(dir.File("s/sample.dic")).find("Abbrechen"), std::string::npos);
    const Result find = RunCli(dir, {"memory", "find", "Cancel"});
    EXPECT_EQ(find.exit, 1);
    EXPECT_NE(find.err.find("cannot be used"), std::string::npos) << find.err;
}

} // namespace

namespace {

TEST(CliSpelling, CheckReportsMisspeltWordsInTheNamedLanguage)
{
    TempDir dir;
    ASSERT_EQ(RunCli(dir, {"sample", "--folder", dir.File("s")}).exit, 0);
    ASSERT_EQ(RunCli(dir, {"translate", dir.File("s/sample.dic"), "Cancel", "Cancle"}).exit, 0);
    const Result checked =
        RunCli(dir, {"check", dir.File("s/sample.dic"), "--only", "spelling", "--language", "en_US"});
    if (checked.err.find("no spelling dictionary") != std::string::npos)
        GTEST_SKIP() << checked.err;
    EXPECT_EQ(checked.exit, 0) << checked.err; // warnings only
    EXPECT_NE(checked.out.find(": \"Cancle\" is not a word of the language (perhaps \"Cancel\""),
              std::string::npos)
        << checked.out;
    EXPECT_NE(checked.out.find("[spelling]"), std::string::npos);
    // Without a language, the command says which it has.
    const Result unnamed = RunCli(dir, {"check", dir.File("s/sample.dic"), "--only", "spelling"});
    EXPECT_EQ(unnamed.exit, 2);
    EXPECT_NE(unnamed.err.find("--language"), std::string::npos);
}

} // namespace
