// The files of export as translators' own tools take them (xmllint,
// translate-toolkit, gettext's update cycle), and what those tools give
// back coming in again without a loss.
#include "TestSupport.h"
#include "cli/CliRunner.h"
#include "cli/ExchangeFixture.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>

namespace {

// Translate-toolkit is a Python package of the system's interpreter; a
// user's own Python in the path may not have it.
const char* const kSystemPython = "/usr/bin/python3";

bool HaveTranslateToolkit()
{
    return HaveTool("pocount") && HaveTool("xliff2po") && HaveTool("po2tmx") &&
           std::system((std::string(kSystemPython) + " -c 'import translate' >/dev/null 2>&1").c_str()) == 0;
}

// pocount's "translated, fuzzy, untranslated" messages of a file.
std::string Counted(const TempDir& dir, const std::string& file)
{
    std::string out;
    EXPECT_EQ(Shell(dir, "pocount --csv " + Quote(file), &out), 0) << out;
    // The last line: "file,  T, words, words, F, words, U, ..."
    std::stringstream line(out.substr(out.rfind('\n', out.size() - 2) + 1));
    std::string field;
    std::vector<std::string> fields;
    while (std::getline(line, field, ','))
        fields.push_back(field.substr(field.find_first_not_of(' ')));
    if (fields.size() < 7)
        return out;
    return fields[1] + " " + fields[4] + " " + fields[6];
}

// The body of a dictionary file, its header left out.
std::string Body(const std::string& path)
{
    const std::string text = ReadBytes(path);
    return text.substr(text.find('\n'));
}

} // namespace

TEST(TranslatorTools, EveryControlByteIsWellFormedXliffThatComesBackThroughTranslateToolkit)
{
    if (!HaveTool("xmllint") || !HaveTranslateToolkit())
        GTEST_SKIP() << "xmllint or translate-toolkit is not installed";
    TempDir dir;
    // One string for each control byte 1-31, as a script writes them.
    std::string script = "STRINGTABLE\r\nBEGIN\r\n";
    for (int b = 1; b < 32; ++b) {
        char line[64];
        std::snprintf(line, sizeof line, "    %d \"Byte %d \\%03o here\"\r\n", b, b, b);
        script += line;
    }
    WriteBytes(dir.File("c.rc"), script + "END\r\n");
    for (const char* name : {"c", "d"}) {
        ASSERT_EQ(RunCli(dir, {"new", dir.Path().string(), name}).exit, 0);
        const std::string dic = dir.File(std::string(name) + ".dic");
        ASSERT_EQ(RunCli(dir, {"insert", dic, dir.File("c.rc"), "--destination", dir.File(name) + "/"}).exit,
                  0);
        ASSERT_EQ(RunCli(dir, {"extract", dic}).exit, 0);
    }
    ASSERT_EQ(RunCli(dir, {"pseudo", dir.File("c.dic"), "--output", dir.File("p.dic")}).exit, 0);
    const std::string xlf = dir.File("p.xlf");
    ASSERT_EQ(RunCli(dir, {"export", dir.File("p.dic"), xlf}).exit, 0);

    std::string out;
    EXPECT_EQ(Shell(dir, "xmllint --noout " + Quote(xlf), &out), 0) << out;
    EXPECT_EQ(Counted(dir, xlf), "31 0 0");
    // Back as it went out.
    Result r = RunCli(dir, {"import", dir.File("c.dic"), xlf});
    EXPECT_EQ(r.exit, 0) << r.err;
    EXPECT_EQ(Body(dir.File("c.dic")), Body(dir.File("p.dic")));
    // Through translate-toolkit's PO, which flattens the character's inline
    // element into the script's escape.
    const std::string po = dir.File("p.po");
    ASSERT_EQ(Shell(dir, "xliff2po " + Quote(xlf) + " " + Quote(po)), 0);
    EXPECT_NE(ReadBytes(po).find("Byte 13 \\\\015 here"), std::string::npos);
    r = RunCli(dir, {"import", dir.File("d.dic"), po});
    EXPECT_EQ(r.exit, 0) << r.err;
    EXPECT_EQ(r.out, "31 translation(s), 0 entr(ies) of resources and 0 text(s) not to translate imported\n");
    EXPECT_EQ(Body(dir.File("d.dic")), Body(dir.File("p.dic")));
}

TEST(TranslatorTools, TranslatedTargetsCountAsTranslatedAndSurviveXliff2po)
{
    if (!HaveTranslateToolkit())
        GTEST_SKIP() << "translate-toolkit is not installed";
    SampleAndFresh d;
    const std::string xlf = d.dir.File("fr.xlf");
    ASSERT_EQ(RunCli(d.dir, {"export", d.sample, xlf, "--target-language", "fr"}).exit, 0);
    // 37 translated texts and 29 resources' entries; 27 texts without one.
    EXPECT_EQ(Counted(d.dir, xlf), "66 0 27");
    const std::string po = d.dir.File("fr.po");
    ASSERT_EQ(Shell(d.dir, "xliff2po " + Quote(xlf) + " " + Quote(po)), 0);
    EXPECT_EQ(Counted(d.dir, po), "66 0 27");
    const Result r = RunCli(d.dir, {"import", d.fresh, po});
    EXPECT_EQ(r.exit, 0) << r.err;
    EXPECT_EQ(r.out, "37 translation(s), 5 entr(ies) of resources and 0 text(s) not to translate imported\n");
    d.ExpectSame();
}

TEST(TranslatorTools, MsgmergeWithTheTemplateLosesNothing)
{
    if (!HaveTool("msgmerge") || !HaveTool("msgattrib"))
        GTEST_SKIP() << "the gettext tools are not installed";
    SampleAndFresh d;
    // The translator's file, then the template of the dictionary as it is
    // now: every text and every resource's entry, whatever is translated.
    const std::string theirs = d.dir.File("fr.po");
    const std::string pot = d.dir.File("app.pot");
    ASSERT_EQ(RunCli(d.dir, {"export", d.sample, theirs}).exit, 0);
    Result r = RunCli(d.dir, {"export", d.sample, pot});
    ASSERT_EQ(r.exit, 0) << r.err;
    EXPECT_EQ(r.out, "Exported 64 text(s) and 70 entr(ies) of resources to " + pot + "\n");
    EXPECT_EQ(RunCli(d.dir, {"export", d.sample, d.dir.File("t.po"), "--template"}).exit, 0);
    EXPECT_EQ(ReadBytes(d.dir.File("t.po")), ReadBytes(pot));
    EXPECT_EQ(RunCli(d.dir, {"export", d.sample, d.dir.File("t.xlf"), "--template"}).exit, 2);

    const std::string merged = d.dir.File("merged.po");
    std::string out;
    ASSERT_EQ(Shell(d.dir, "msgmerge -q " + Quote(theirs) + " " + Quote(pot) + " -o " + Quote(merged), &out),
              0)
        << out;
    EXPECT_EQ(ReadBytes(merged).find("\n#~ "), std::string::npos) << "an entry became obsolete";
    ASSERT_EQ(Shell(d.dir, "msgattrib --only-obsolete " + Quote(merged), &out), 0);
    EXPECT_EQ(out, "");
    // What msgmerge guessed is marked unsure and waits for the translator:
    // no error, nothing changed by it.
    r = RunCli(d.dir, {"import", d.fresh, merged});
    EXPECT_EQ(r.exit, 0) << r.err;
    EXPECT_NE(r.out.find(" translation(s) marked unsure (fuzzy) were left for their review\n"),
              std::string::npos)
        << r.out;
    d.ExpectSame();
}

TEST(TranslatorTools, TmxGoesToTranslateToolkitAndComesFromPo2tmx)
{
    if (!HaveTranslateToolkit() || !HaveTool("xmllint"))
        GTEST_SKIP() << "translate-toolkit or xmllint is not installed";
    SampleAndFresh d;
    const std::string tmx = d.dir.File("fr.tmx");
    Result r = RunCli(d.dir, {"export", d.sample, tmx, "--target-language", "fr"});
    ASSERT_EQ(r.exit, 0) << r.err;
    EXPECT_EQ(r.out, "Exported 37 translation unit(s) to " + tmx + "\n");
    std::string out;
    EXPECT_EQ(Shell(d.dir, "xmllint --noout " + Quote(tmx), &out), 0) << out;
    const std::string read = std::string(kSystemPython) +
                             " -c 'import sys; from translate.storage import tmx; "
                             "u = tmx.tmxfile.parsefile(sys.argv[1]).units; "
                             "print(len(u), u[0].source, u[0].target)' " +
                             Quote(tmx);
    EXPECT_EQ(Shell(d.dir, read, &out), 0) << out;
    EXPECT_EQ(out, "37 File Fichier\n");

    // A memory made by another tool fills the texts without a translation,
    // keeps the others unless told.
    const std::string po = d.dir.File("fr.po");
    ASSERT_EQ(RunCli(d.dir, {"export", d.sample, po}).exit, 0);
    const std::string theirs = d.dir.File("theirs.tmx");
    ASSERT_EQ(Shell(d.dir, "po2tmx -l fr " + Quote(po) + " " + Quote(theirs), &out), 0) << out;
    ASSERT_EQ(RunCli(d.dir, {"translate", d.fresh, "File", "Dossier"}).exit, 0);
    r = RunCli(d.dir, {"import", d.fresh, theirs});
    EXPECT_EQ(r.exit, 0) << r.err;
    EXPECT_EQ(r.out, "1 translation(s) of the dictionary were kept (--replace replaces them)\n"
                     "36 translation(s), 0 entr(ies) of resources and 0 text(s) not to translate imported\n");
    r = RunCli(d.dir, {"import", d.fresh, theirs, "--replace"});
    EXPECT_EQ(r.exit, 0) << r.err;
    EXPECT_EQ(r.out, "1 translation(s), 0 entr(ies) of resources and 0 text(s) not to translate imported\n");
}
