// Export to and import from PO and XLIFF files on the command line, checked
// by the tools of gettext and libxml2 themselves.
#include "TestSupport.h"
#include "cli/CliRunner.h"
#include "cli/ExchangeFixture.h"
#include "dictionary/TextRules.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <set>

TEST(CliExchange, APoFileOpensInGettextAndComesBackUnchanged)
{
    if (!HaveTool("msgfmt") || !HaveTool("msgmerge"))
        GTEST_SKIP() << "the gettext tools are not installed";
    SampleAndFresh d;
    const std::string po = d.dir.File("fr.po");
    Result r = RunCli(d.dir, {"export", d.sample, po, "--target-language", "fr"});
    ASSERT_EQ(r.exit, 0) << r.err;
    EXPECT_EQ(r.out, "Exported 64 text(s) and 29 entr(ies) of resources to " + po + "\n");
    // 37 translated texts and 29 entries of resources; 27 texts to translate.
    std::string out;
    EXPECT_EQ(Shell(d.dir, "msgfmt -c --statistics -o /dev/null " + Quote(po), &out), 0) << out;
    EXPECT_EQ(out, "66 translated messages, 27 untranslated messages.\n");
    EXPECT_NE(
        ReadBytes(po).find("#: sample.rc:58\nmsgctxt \"sample.rc:IDR_MAINFRAME\"\nmsgid \"File\"\nmsgstr "
                           "\"&Fichier\"\n"),
        std::string::npos);

    // As a translator's tools leave it: merged with itself, filtered.
    EXPECT_EQ(Shell(d.dir, "msgattrib --no-obsolete " + Quote(po) + " | msgmerge -q - " + Quote(po) + " -o " +
                               Quote(d.dir.File("merged.po"))),
              0);
    r = RunCli(d.dir, {"import", d.fresh, d.dir.File("merged.po")});
    ASSERT_EQ(r.exit, 0) << r.err;
    EXPECT_EQ(r.out, "37 translation(s), 5 entr(ies) of resources and 0 text(s) not to translate imported\n");
    d.ExpectSame();

    // Texts the dictionary does not have are named, and the run fails.
    WriteBytes(po, ReadBytes(po) + "\nmsgid \"Not there\"\nmsgstr \"Absent\"\n");
    r = RunCli(d.dir, {"import", d.fresh, po});
    EXPECT_EQ(r.exit, 1);
    EXPECT_EQ(r.err, "\"Not there\" is not a text of the dictionary.\n");
    r = RunCli(d.dir, {"import", d.fresh, d.dir.File("s/sample.rc"), "--format", "csv"});
    EXPECT_EQ(r.exit, 2);
}

TEST(CliExchange, AnXliffFileIsWellFormedAndComesBackUnchanged)
{
    SampleAndFresh d;
    const std::string xlf = d.dir.File("fr.xliff");
    Result r = RunCli(d.dir, {"export", d.sample, xlf, "--target-language", "fr"});
    ASSERT_EQ(r.exit, 0) << r.err;
    if (HaveTool("xmllint")) {
        std::string out;
        EXPECT_EQ(Shell(d.dir, "xmllint --noout " + Quote(xlf), &out), 0) << out;
    }
    const std::string text = ReadBytes(xlf);
    EXPECT_NE(text.find("target-language=\"fr\""), std::string::npos);
    EXPECT_NE(text.find("<group id=\"s1\" resname=\"sample.rc\">"), std::string::npos);
    r = RunCli(d.dir, {"import", d.fresh, xlf});
    ASSERT_EQ(r.exit, 0) << r.err;
    d.ExpectSame();
}

TEST(CliExchange, CheckFindsAPlantedClashAndTheFitOfTexts)
{
    TempDir dir;
    ASSERT_EQ(RunCli(dir, {"sample", "--folder", dir.File("s")}).exit, 0);
    const std::string dic = dir.File("s/sample.dic");
    const std::string script = dir.File("s/sample.rc");
    Result r = RunCli(dir, {"check", dic});
    EXPECT_EQ(r.exit, 0) << r.out;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "0 error(s), 0 warning(s)\n");

    // "&Tout" takes the key of "Barre d'é&tat" in the View menu.
    ASSERT_EQ(RunCli(dir, {"translate", dic, "Toolbar", "Tout"}).exit, 0);
    r = RunCli(dir, {"check", dic, script});
    EXPECT_EQ(r.exit, 1);
    EXPECT_EQ(r.out, script +
                         ":91: IDR_MAINFRAME: the access key of \"Barre d'\xC3\xA9&tat\" is also the key of "
                         "\"&Tout\" (line 90) [access-key-clash]\n");
    r = RunCli(dir, {"check", dic, "--only", "fit,placeholder"});
    EXPECT_EQ(r.exit, 0);
    EXPECT_EQ(r.out, "");

    // A translation too long for its label is a warning, an error when asked.
    ASSERT_EQ(RunCli(dir, {"translate", dic, "Look in", "Regarder dans"}).exit, 0);
    r = RunCli(dir, {"check", dic, "--only", "fit"});
    EXPECT_EQ(r.exit, 0);
    EXPECT_EQ(r.out,
              script + ":150: IDD_DIALOG1: warning: \"&Regarder dans :\" does not fit its control [fit]\n");
    EXPECT_EQ(RunCli(dir, {"check", dic, "--only", "fit", "--warnings-as-errors"}).exit, 1);
    EXPECT_EQ(RunCli(dir, {"check", dic, "--only", "spelling"}).exit, 2);
}

TEST(CliExchange, CheckWithoutTheFitModuleSaysSoAndTheOtherChecksStillRun)
{
    // A copy of the program far from its module: the fit check reports
    // that it cannot measure, instead of passing without having measured.
    TempDir dir;
    ASSERT_EQ(RunCli(dir, {"sample", "--folder", dir.File("s")}).exit, 0);
    const std::string dic = dir.File("s/sample.dic");
    const std::string lone = dir.File("lorvo-cli");
    std::filesystem::copy_file(LORVO_CLI, lone);
    const std::string run = Quote(lone) + " check " + Quote(dic);
    const std::string out = " >" + Quote(dir.File(".out")) + " 2>" + Quote(dir.File(".err"));
    int status = std::system((run + " --only fit" + out).c_str());
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_NE(ReadBytes(dir.File(".err")).find("lorvo-cli check: the fit of texts cannot be measured: "),
              std::string::npos)
        << ReadBytes(dir.File(".err"));
    status = std::system((run + " --only access-key-clash,placeholder" + out).c_str());
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(ReadBytes(dir.File(".err")), "0 error(s), 0 warning(s)\n");
}

TEST(CliExchange, ACorpusDictionaryOpensInGettextWithTheRightCounts)
{
    if (CorpusDir().empty() || !HaveTool("msgfmt"))
        GTEST_SKIP() << "the corpus or the gettext tools are not available";
    TempDir dir;
    const std::string dic = dir.File("c.dic");
    ASSERT_EQ(RunCli(dir, {"new", dir.Path().string(), "c"}).exit, 0);
    std::vector<std::string> insert = {"insert", dic};
    // Into one folder: each script needs a file name of its own there.
    std::set<std::string> names;
    for (const std::string& script : EveryNthCorpusScript(30)) {
        if (names.insert(AnsiLower(std::filesystem::path(script).filename().string())).second)
            insert.push_back(script);
    }
    insert.insert(insert.end(), {"--destination", dir.File("out") + "/"});
    ASSERT_EQ(RunCli(dir, insert).exit, 0);
    RunCli(dir, {"extract", dic}); // some scripts hold texts cp1252 has not
    // Half the way: translate the copy, leave the rest.
    ASSERT_EQ(RunCli(dir, {"pseudo", dic, "--output", dir.File("p.dic")}).exit, 0);
    for (const std::string& name : {std::string("c"), std::string("p")}) {
        const std::string po = dir.File(name + ".po");
        Result r = RunCli(dir, {"export", dir.File(name + ".dic"), po, "--target-language", "fr"});
        ASSERT_EQ(r.exit, 0) << r.err;
        // "Exported T text(s) and E entr(ies) of resources to ..."
        const long texts = std::stol(r.out.substr(9));
        const long entries = std::stol(r.out.substr(r.out.find(" and ") + 5));
        std::string out;
        EXPECT_EQ(Shell(dir, "msgfmt -c --statistics -o /dev/null " + Quote(po), &out), 0) << out;
        const std::string expected =
            name == "c" ? "0 translated messages, " + std::to_string(texts) + " untranslated messages.\n"
                        : std::to_string(texts + entries) + " translated messages.\n";
        EXPECT_EQ(out, expected) << name;
    }
}

TEST(CliExchange, AnImportOfMarksAloneIsSavedAndAnUnknownCharsetChangesNothing)
{
    TempDir dir;
    ASSERT_EQ(RunCli(dir, {"sample", "--folder", dir.File("s")}).exit, 0);
    const std::string dic = dir.File("s/sample.dic");
    const std::string before = ReadBytes(dic);
    const std::string po = dir.File("marks.po");
    // A file whose only news is that a text is not to be translated.
    WriteBytes(po, "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n\n"
                   "#. do not translate\nmsgid \"Toolbar\"\nmsgstr \"\"\n");
    Result r = RunCli(dir, {"import", dic, po});
    ASSERT_EQ(r.exit, 0) << r.err;
    EXPECT_NE(r.out.find("and 1 text(s) not to translate imported"), std::string::npos) << r.out;
    r = RunCli(dir, {"do-not-translate", dic});
    EXPECT_NE(r.out.find("Toolbar"), std::string::npos) << r.out;

    // A header naming a character set nobody knows: refused with that
    // reason, the dictionary as it was.
    const std::string marked = ReadBytes(dic);
    EXPECT_NE(marked, before);
    WriteBytes(po, "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=X-NOSUCH-9\\n\"\n\n"
                   "msgid \"Toolbar\"\nmsgstr \"Barre d'outils\"\n");
    r = RunCli(dir, {"import", dic, po});
    EXPECT_EQ(r.exit, 1);
    EXPECT_NE(r.err.find("does not know (X-NOSUCH-9)"), std::string::npos) << r.err;
    EXPECT_EQ(ReadBytes(dic), marked);
}
