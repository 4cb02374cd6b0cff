// align and align-all from the command line: the dictionaries they make or
// fill generate the translated copies again, and what could not be paired
// makes the exit code 1 without losing what was.
#include "cli/CliRunner.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

const char* const kOriginal = "IDD_A DIALOG 0, 0, 100, 50\r\nCAPTION \"Options\"\r\nBEGIN\r\n"
                              "    LTEXT \"&Name:\",IDC_STATIC,7,7,50,8\r\n"
                              "    PUSHBUTTON \"Cancel\",IDCANCEL,7,20,50,14\r\nEND\r\n";

std::string Copy(const std::string& caption, const std::string& name, const std::string& cancel)
{
    return "IDD_A DIALOG 0, 0, 100, 50\r\nCAPTION \"" + caption + "\"\r\nBEGIN\r\n    LTEXT \"" + name +
           "\",IDC_STATIC,7,7,50,8\r\n    PUSHBUTTON \"" + cancel + "\",IDCANCEL,7,20,50,14\r\nEND\r\n";
}

TEST(CliAlign, AlignAllMakesOneDictionaryPerCopyThatGeneratesIt)
{
    TempDir dir;
    fs::create_directories(dir.File("lang/de"));
    fs::create_directories(dir.File("lang/fr"));
    WriteBytes(dir.File("app.rc"), kOriginal);
    WriteBytes(dir.File("lang/de/app.rc"), Copy("Optionen", "Na&me:", "Abbrechen"));
    WriteBytes(dir.File("lang/fr/app.rc"), Copy("Options", "&Nom :", "Annuler"));
    const Result all =
        RunCli(dir, {"align-all", dir.File("app.rc"), dir.File("lang"), "--dictionaries", dir.File("dicts")});
    ASSERT_EQ(all.exit, 0) << all.err;
    EXPECT_NE(all.out.find("3 texts aligned, 3 general translations, 0 in context, 0 unmatched"),
              std::string::npos)
        << all.out;
    for (const std::string language : {"de", "fr"}) {
        const std::string dic = dir.File("dicts/" + language + ".dic");
        ASSERT_TRUE(fs::exists(dic)) << all.out;
        ASSERT_EQ(RunCli(dir, {"generate", dic}).exit, 0);
        const std::string generated = ReadBytes(dir.File("dicts/" + language + "/app.rc"));
        // The translated copy's texts; the original's colon stays as the
        // original writes it.
        const std::string wanted =
            language == "de" ? Copy("Optionen", "Na&me:", "Abbrechen") : Copy("Options", "&Nom:", "Annuler");
        EXPECT_EQ(generated, wanted) << language;
    }
    // Run again: the dictionaries are there and keep what they hold.
    const Result again =
        RunCli(dir, {"align-all", dir.File("app.rc"), dir.File("lang"), "--dictionaries", dir.File("dicts")});
    EXPECT_EQ(again.exit, 0) << again.err;
    EXPECT_EQ(again.out.find("Created"), std::string::npos) << again.out;
}

TEST(CliAlign, WhatCannotBePairedIsReportedAndTheRestSaved)
{
    TempDir dir;
    WriteBytes(dir.File("app.rc"), kOriginal);
    std::string copy = Copy("Optionen", "&Name:", "Abbrechen");
    copy.erase(copy.find("    PUSHBUTTON"), copy.find("END") - copy.find("    PUSHBUTTON"));
    WriteBytes(dir.File("de.rc"), copy);
    ASSERT_EQ(RunCli(dir, {"new", dir.Path().string(), "d"}).exit, 0);
    const Result aligned = RunCli(dir, {"align", dir.File("d.dic"), dir.File("app.rc"), dir.File("de.rc"),
                                        "--destination", dir.File("out/")});
    EXPECT_EQ(aligned.exit, 1);
    EXPECT_NE(aligned.err.find("app.rc:5: IDD_A: \"Cancel\" has no counterpart in"), std::string::npos)
        << aligned.err;
    EXPECT_NE(aligned.out.find("2 texts aligned, 2 general translations, 0 in context, 1 unmatched"),
              std::string::npos)
        << aligned.out;
    ASSERT_EQ(RunCli(dir, {"generate", dir.File("d.dic")}).exit, 0);
    EXPECT_NE(ReadBytes(dir.File("out/app.rc")).find("CAPTION \"Optionen\""), std::string::npos);
    // Unknown or missing arguments are usage errors.
    EXPECT_EQ(RunCli(dir, {"align-all", dir.File("app.rc"), dir.Path().string()}).exit, 2);
}

} // namespace
