// Searching the dictionary and moving translations in and out of it from
// the command line.
#include "TestSupport.h"
#include "cli/CliRunner.h"

#include <gtest/gtest.h>

namespace {

// A dictionary of the sample script (named in mixed case), extracted, with
// two translations.
struct Extracted
{
    TempDir dir;
    std::string script = dir.File("MyApp.rc");
    std::string dic = dir.File("d.dic");

    Extracted()
    {
        WriteBytes(script, SampleScript());
        EXPECT_EQ(
            RunCli(dir, {"new", dir.Path().string(), "d", "--destination-folder", dir.File("out")}).exit, 0);
        EXPECT_EQ(RunCli(dir, {"insert", dic, script}).exit, 0);
        EXPECT_EQ(RunCli(dir, {"extract", dic}).exit, 0);
        EXPECT_EQ(RunCli(dir, {"translate", dic, "OK", "D'accord"}).exit, 0);
        EXPECT_EQ(RunCli(dir, {"translate", dic, "Cancel", "Annuler"}).exit, 0);
    }
    Result Run(const std::vector<std::string>& args) const { return RunCli(dir, args); }
};

} // namespace

TEST(CliTools, FindListsEveryResourceHoldingTheText)
{
    Extracted d;
    Result r = d.Run({"find", d.dic, "ok"});
    ASSERT_EQ(r.exit, 0) << r.err;
    // In any case, inside a word too ("Look in :").
    EXPECT_EQ(r.out, d.script + "\tIDD_ABOUTBOX\tDialog box\n" + d.script + "\tIDD_DIALOG1\tDialog box\n" +
                         d.script + "\tIDD_OPTIONS\tDialog box\n");
    // Found only through a general translation, with --matched showing it.
    r = d.Run({"find", d.dic, "ANNULER", "--matched"});
    ASSERT_EQ(r.exit, 0) << r.err;
    EXPECT_NE(r.out.find(d.script + "\tIDD_OPTIONS\tDialog box\tAnnuler\n"), std::string::npos) << r.out;
    r = d.Run({"find", d.dic, "Other formats"});
    EXPECT_EQ(r.out, d.script + "\tIDR_MAINFRAME\tMenu\n");
    r = d.Run({"find", d.dic, "no such words"});
    EXPECT_EQ(r.exit, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "Text not found !\n");
}

TEST(CliTools, ExportWritesTheTextsAndImportFillsOnlyTheMissingOnes)
{
    Extracted d;
    const std::string txt = d.dir.File("texts.txt");
    Result r = d.Run({"export", d.dic, txt});
    ASSERT_EQ(r.exit, 0) << r.err;
    EXPECT_EQ(r.out, "Exported 64 text(s) to " + txt + "\n");
    const std::string exported = ReadBytes(txt);
    EXPECT_NE(exported.find("\"OK\";\"D'accord\"\r\n"), std::string::npos);
    EXPECT_NE(exported.find("\"File\";\"\"\r\n"), std::string::npos);
    // The page of the Dictionary window needs the window.
    r = d.Run({"export", d.dic, d.dir.File("list.html")});
    EXPECT_EQ(r.exit, 1);
    EXPECT_EQ(r.err, "Cannot export if a dictionary is not displayed.\n");

    // Another dictionary: one translation for a text without one, one for a
    // text already translated.
    const std::string other = d.dir.File("other.dic");
    WriteBytes(other, "General dictionary\r\n\"File\"\xA4\"Fichier\"\xA4\"0\"\r\n"
                      "\"OK\"\xA4\"Valider\"\xA4\"0\"\r\n\"Unknown\"\xA4\"Inconnu\"\xA4\"0\"\r\n");
    r = d.Run({"import", d.dic, other});
    ASSERT_EQ(r.exit, 0) << r.err;
    EXPECT_EQ(r.out, "1 translation(s) imported\n");
    r = d.Run({"export", d.dic, txt});
    EXPECT_NE(ReadBytes(txt).find("\"File\";\"Fichier\"\r\n"), std::string::npos);
    EXPECT_NE(ReadBytes(txt).find("\"OK\";\"D'accord\"\r\n"), std::string::npos);
    EXPECT_EQ(ReadBytes(txt).find("Unknown"), std::string::npos);
    // The same import again brings nothing and writes nothing.
    const std::string before = ReadBytes(d.dic);
    EXPECT_EQ(d.Run({"import", d.dic, other}).out, "0 translation(s) imported\n");

    // Files that are not dictionaries change nothing.
    WriteBytes(other, "\"Edit\"\xA4\"Edition\"\xA4\"0\"\r\n");
    r = d.Run({"import", d.dic, other});
    EXPECT_EQ(r.exit, 1);
    EXPECT_EQ(r.err, other + " is not a general dictionary file\n");
    r = d.Run({"import", d.dic, d.dir.File("missing.txt")});
    EXPECT_EQ(r.exit, 1);
    EXPECT_EQ(r.err.rfind("Error when opening file " + d.dir.File("missing.txt"), 0), 0u) << r.err;
    EXPECT_EQ(ReadBytes(d.dic), before);
    // A text file in the dictionary's record layout, with a hex escape.
    WriteBytes(txt, "\"Edit\"\xA4\"\\X41ction\"\r\n");
    EXPECT_EQ(d.Run({"import", d.dic, txt}).out, "1 translation(s) imported\n");
    EXPECT_NE(ReadBytes(d.dic).find("\"Edit\"\xA4\"Action\""), std::string::npos);
}

TEST(CliTools, UnusedTextsAreListedAndRemoved)
{
    Extracted d;
    EXPECT_EQ(d.Run({"unused", d.dic}).out, "");
    // The script loses its "minutes" and "Saved every" texts.
    WriteBytes(d.script, Replace(Replace(SampleScript(), "\"minutes\"", "\"\""), "\"Saved every\"", "\"\""));
    ASSERT_EQ(d.Run({"extract", d.dic}).exit, 0);
    Result r = d.Run({"unused", d.dic});
    ASSERT_EQ(r.exit, 0) << r.err;
    EXPECT_EQ(r.out, "Saved every\nminutes\n");
    r = d.Run({"unused", d.dic, "--remove"});
    EXPECT_EQ(r.exit, 0) << r.err;
    EXPECT_EQ(r.err, "Removed 2 text(s)\n");
    EXPECT_EQ(d.Run({"unused", d.dic}).out, "");
    EXPECT_NE(d.Run({"stats", d.dic}).out.find("Texts\t62\n"), std::string::npos);
}

TEST(CliTools, TextsNotToTranslateAreListedAddedAndRemoved)
{
    Extracted d;
    EXPECT_EQ(d.Run({"do-not-translate", d.dic}).out, "");
    ASSERT_EQ(d.Run({"do-not-translate", d.dic, "--add", "File", "--add", "Cancel"}).exit, 0);
    EXPECT_EQ(d.Run({"do-not-translate", d.dic}).out, "File\nCancel\n");
    Result r = d.Run({"do-not-translate", d.dic, "--remove", "File", "--remove", "Nothing"});
    EXPECT_EQ(r.exit, 1);
    EXPECT_EQ(r.err, "Nothing is not on the list of texts not to translate.\n");
    EXPECT_EQ(d.Run({"do-not-translate", d.dic}).out, "Cancel\n");
    r = d.Run({"do-not-translate", d.dic, "--add", "Not a text"});
    EXPECT_EQ(r.exit, 1);
    EXPECT_NE(r.err.find("Not a text"), std::string::npos);
}

TEST(CliTools, EveryCommandHasItsHelp)
{
    TempDir dir;
    for (const char* command : {"find", "import", "export", "unused", "do-not-translate"}) {
        const Result r = RunCli(dir, {command, "--help"});
        EXPECT_EQ(r.exit, 0) << command;
        EXPECT_EQ(r.out.rfind(std::string("Usage: lorvo-cli ") + command + " <dict.dic>", 0), 0u) << r.out;
    }
    EXPECT_EQ(RunCli(dir, {"find", "only-one-argument.dic"}).exit, 2);
    EXPECT_EQ(RunCli(dir, {"unused", "d.dic", "--bogus"}).exit, 2);
}

TEST(CliTools, PseudoFillsACopyAndLeavesTheDictionary)
{
    Extracted d;
    const std::string before = ReadBytes(d.dic);
    Result r = d.Run({"pseudo", d.dic, "--output", d.dir.File("pseudo.dic")});
    ASSERT_EQ(r.exit, 0) << r.err;
    EXPECT_EQ(ReadBytes(d.dic), before) << "the real dictionary is untouched";
    r = d.Run({"stats", d.dir.File("pseudo.dic")});
    EXPECT_NE(r.out.find("Untranslated\t0\n"), std::string::npos) << r.out;
    // Translations made by a translator stay; the copy generates beside
    // itself, never over the real translated scripts.
    r = d.Run({"generate", d.dir.File("pseudo.dic")});
    ASSERT_EQ(r.exit, 0) << r.err;
    const std::string generated = ReadBytes(d.dir.File("pseudo-scripts/MyApp.rc"));
    EXPECT_NE(generated.find("\"D'accord\""), std::string::npos);
    // "&New\tCtrl+N": the access key on its letter, the accelerator kept.
    EXPECT_NE(generated.find("\"[&\\321\\351w~]\\tCtrl+N\""), std::string::npos) << generated;
    EXPECT_FALSE(std::filesystem::exists(d.dir.File("out/MyApp.rc")));
    // The copy is not made over an existing dictionary; bad percentages are
    // usage errors.
    EXPECT_EQ(d.Run({"pseudo", d.dic, "--output", d.dir.File("pseudo.dic")}).exit, 1);
    EXPECT_EQ(d.Run({"pseudo", d.dic, "--expand", "lots"}).exit, 2);
}

TEST(CliTools, NothingIsLostAtTheSeamsOfACommand)
{
    Extracted d;
    const std::string before = ReadBytes(d.dic);
    // An export never writes over the dictionary's own files.
    for (const char* own : {"d.dic", "d.ent", ".d.dic.lock"}) {
        for (const char* format : {"text", "po"}) {
            std::vector<std::string> args = {"export", d.dic, d.dir.File(own)};
            if (format == std::string("po"))
                args.insert(args.end(), {"--format", "po"});
            Result r = d.Run(args);
            EXPECT_EQ(r.exit, 1) << own << " " << format;
            EXPECT_NE(r.err.find("is a file of the dictionary"), std::string::npos) << r.err;
        }
    }
    EXPECT_EQ(ReadBytes(d.dic), before);
    // What is no regular file is no export.
    for (const char* format : {"po", "xliff"}) {
        Result r = d.Run({"export", d.dic, "/dev/full", "--format", format});
        EXPECT_EQ(r.exit, 1) << format;
        EXPECT_EQ(r.out, "") << format;
    }
    EXPECT_EQ(d.Run({"export", d.dic, "/dev/full"}).exit, 1);

    // A text holding a line break is one row.
    std::string script = SampleScript();
    script.insert(script.find("STRINGTABLE"),
                  "IDD_LB DIALOG 0, 0, 10, 10\r\nBEGIN\r\n    LTEXT \"One\\012Two\",1,2,3,4,5\r\nEND\r\n");
    WriteBytes(d.script, script);
    ASSERT_EQ(d.Run({"extract", d.dic}).exit, 0);
    Result r = d.Run({"find", d.dic, "One", "--matched"});
    EXPECT_NE(r.out.find("\tOne\\X0ATwo\n"), std::string::npos) << r.out;

    // Scripts of one name from two folders keep two pseudo-translated files.
    std::filesystem::create_directories(d.dir.File("x"));
    std::filesystem::create_directories(d.dir.File("y"));
    WriteBytes(d.dir.File("x/app.rc"), SampleScript());
    WriteBytes(d.dir.File("y/app.rc"), SampleScript());
    ASSERT_EQ(d.Run({"insert", d.dic, d.dir.File("x/app.rc"), d.dir.File("x/fr.rc")}).exit, 0);
    ASSERT_EQ(d.Run({"insert", d.dic, d.dir.File("y/app.rc"), d.dir.File("y/fr.rc")}).exit, 0);
    r = d.Run({"insert", d.dic, d.dir.File("y/app.rc"), d.dir.File("x/fr.rc")});
    EXPECT_EQ(r.exit, 1);
    ASSERT_EQ(d.Run({"extract", d.dic}).exit, 0);
    ASSERT_EQ(d.Run({"pseudo", d.dic, "--output", d.dir.File("p.dic")}).exit, 0);
    r = d.Run({"generate", d.dir.File("p.dic")});
    ASSERT_EQ(r.exit, 0) << r.err;
    EXPECT_TRUE(std::filesystem::exists(d.dir.File("p-scripts/fr.rc")));
    EXPECT_TRUE(std::filesystem::exists(d.dir.File("p-scripts/fr-2.rc")));
}
