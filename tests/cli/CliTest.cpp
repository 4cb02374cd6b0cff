// The command-line tool run as a user runs it.
#include "TestSupport.h"
#include "cli/CliRunner.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace fs = std::filesystem;

TEST(Cli, TheWholeRoadFromScriptToTranslatedScript)
{
    TempDir dir;
    const std::string script = dir.File("app.rc");
    WriteBytes(script, SampleScript());
    fs::create_directory(dir.File("out"));

    Result r = RunCli(dir, {"new", dir.Path().string(), "app", "--destination-folder", dir.File("out")});
    ASSERT_EQ(r.exit, 0) << r.err;
    const std::string dic = dir.File("app.dic");
    r = RunCli(dir, {"insert", dic, script});
    ASSERT_EQ(r.exit, 0) << r.err;
    EXPECT_EQ(r.out, "Inserted " + script + " -> " + dir.File("out/app.rc") + "\n");
    r = RunCli(dir, {"extract", dic});
    ASSERT_EQ(r.exit, 0) << r.err;
    EXPECT_EQ(r.out, "Extracted 1 of 1 file(s); the dictionary holds 64 text(s)\n");
    EXPECT_EQ(r.err, ""); // no progress bar when stderr is not a terminal
    for (const auto& [original, translation] :
         std::vector<std::pair<std::string, std::string>>{{"File", "Fichier"},
                                                          {"Save As", "Enregistrer sous"},
                                                          {"Look in", "Regarder dans"},
                                                          {"Copyright \xC2\xA9 2026", "Droits \xC2\xA9 2026"},
                                                          {"About Sample", "\xC3\x80 propos"},
                                                          {"Red", "Rouge"},
                                                          {"Ready", "Pr\xC3\xAAt"}}) {
        r = RunCli(dir, {"translate", dic, original, translation});
        ASSERT_EQ(r.exit, 0) << original << r.err;
    }
    r = RunCli(dir, {"generate", dic});
    ASSERT_EQ(r.exit, 0) << r.err;
    EXPECT_EQ(r.out, "Generated " + dir.File("out/app.rc") + "\n");

    std::string expected = SampleScript();
    expected = Replace(expected, "POPUP \"&File\"", "POPUP \"&Fichier\"");
    expected = Replace(expected, "\"Save &As...\"", "\"Enreg&istrer sous...\"");
    expected = Replace(expected, "\"&Look in :\"", "\"&Regarder dans :\"");
    expected = Replace(expected, "\"Copyright \\251 2026\"", "\"Droits \\251 2026\"");
    expected = Replace(expected, "CAPTION \"About Sample\"", "CAPTION \"\\300 propos\"");
    expected = Replace(expected, "\"&About Sample...\"", "\"&\\300 propos...\"");
    expected = Replace(expected, "    IDC_COLOUR, 0x403, 4, 0\r\n0x6552, 0x0064, \r\n",
                       "\tIDC_COLOUR, 0x403, 6, 0\r\n0x6f52, 0x6775, 0x0065, \r\n");
    expected = Replace(expected, "\"Ready\"", "\"Pr\\352t\"");
    EXPECT_EQ(ReadBytes(dir.File("out/app.rc")), expected);

    // A second run keeps the first output as a backup.
    r = RunCli(dir, {"generate", dic, script});
    ASSERT_EQ(r.exit, 0) << r.err;
    EXPECT_EQ(ReadBytes(dir.File("out/app.qv")), expected);
}

TEST(Cli, RefusalsAreTheSystemsMessages)
{
    TempDir dir;
    const std::string script = dir.File("app.rc");
    WriteBytes(script, SampleScript());
    ASSERT_EQ(RunCli(dir, {"new", dir.Path().string(), "d"}).exit, 0);
    const std::string dic = dir.File("d.dic");

    Result r = RunCli(dir, {"new", dir.Path().string(), "d"});
    EXPECT_EQ(r.exit, 1);
    EXPECT_EQ(r.err, "The files " + dic + ", " + dir.File("d.ent") + ", " + dir.File("d.fil") + ", " +
                         dir.File("d.nir") + " already exist.\n");
    r = RunCli(dir, {"insert", dic, script});
    EXPECT_EQ(r.exit, 1);
    EXPECT_EQ(r.err, "Source and destination files must be different\n");
    r = RunCli(dir, {"insert", dic, dir.File("missing.rc"), dir.File("out")});
    EXPECT_EQ(r.err, "This file does not exist !\n");
    ASSERT_EQ(RunCli(dir, {"insert", dic, script, dir.File("out/x.rc")}).exit, 0);
    r = RunCli(dir, {"insert", dic, script, dir.File("out")});
    EXPECT_EQ(r.exit, 1);
    EXPECT_EQ(r.err, "This file is already in the active dictionary.\n");
    r = RunCli(dir, {"translate", dic, "Unknown", "Inconnu"});
    EXPECT_EQ(r.exit, 1);
    EXPECT_EQ(r.err, "The text Unknown is not in the dictionary.\n");
    r = RunCli(dir, {"extract", dir.File("nope.dic")});
    EXPECT_EQ(r.exit, 1);
    EXPECT_EQ(r.err, "Error when opening file " + dir.File("nope.dic") + "\nNo such file or directory\n");
    r = RunCli(dir, {"generate", dic, dir.File("other.rc")});
    EXPECT_EQ(r.exit, 1);
    EXPECT_EQ(r.err, "The file " + dir.File("other.rc") + " is not in the active dictionary.\n");
}

TEST(Cli, UsageErrorsAndHelp)
{
    TempDir dir;
    EXPECT_EQ(RunCli(dir, {}).exit, 2);
    EXPECT_EQ(RunCli(dir, {"frobnicate"}).exit, 2);
    EXPECT_EQ(RunCli(dir, {"translate", "a.dic"}).exit, 2);
    EXPECT_EQ(RunCli(dir, {"stats", "a.dic", "--bogus"}).exit, 2);
    Result r = RunCli(dir, {"--help"});
    EXPECT_EQ(r.exit, 0);
    EXPECT_NE(r.out.find("generate"), std::string::npos);
    r = RunCli(dir, {"insert", "--help"});
    EXPECT_EQ(r.exit, 0);
    EXPECT_NE(r.out.find("Usage: lorvo-cli insert <dict.dic> <script.rc>... [--destination D]"),
              std::string::npos);
}

TEST(Cli, ExcludedResourcesAndStatistics)
{
    TempDir dir;
    const std::string script = dir.File("app.rc");
    WriteBytes(script, SampleScript());
    ASSERT_EQ(RunCli(dir, {"new", dir.Path().string(), "d", "--destination-folder", dir.File("out")}).exit,
              0);
    const std::string dic = dir.File("d.dic");
    ASSERT_EQ(RunCli(dir, {"insert", dic, script}).exit, 0);
    Result r = RunCli(dir, {"exclude", dic, script, "IDD_NOPE", "dialog"});
    EXPECT_EQ(r.exit, 1);
    EXPECT_EQ(r.err, "The resource IDD_NOPE is not in the file " + script + ".\n");
    EXPECT_EQ(RunCli(dir, {"exclude", dic, script, "IDD_OPTIONS", "thing"}).exit, 2);
    ASSERT_EQ(RunCli(dir, {"exclude", dic, script, "IDD_OPTIONS", "dialog"}).exit, 0);
    ASSERT_EQ(RunCli(dir, {"extract", dic}).exit, 0);
    r = RunCli(dir, {"stats", dic});
    EXPECT_EQ(r.exit, 0);
    // The options dialog (and its combo-box strings) gave nothing.
    EXPECT_EQ(r.out.substr(0, r.out.find("\n\n")), "Texts\t52\nTranslated\t0\nUntranslated\t52");
    EXPECT_NE(r.out.find(script + "\t3\t2\t1\n"), std::string::npos);
    EXPECT_NE(r.out.find("Total in 1 file(s)\t3\t2\t1\n"), std::string::npos);
    ASSERT_EQ(RunCli(dir, {"include", dic, script, "IDD_OPTIONS", "dialog"}).exit, 0);
    ASSERT_EQ(RunCli(dir, {"extract", dic}).exit, 0);
    EXPECT_NE(RunCli(dir, {"stats", dic}).out.find("Texts\t64\n"), std::string::npos);
}

TEST(Cli, TheShippedSampleIsUpToDate)
{
    TempDir dir;
    const std::string dic = (fs::path(LORVO_CLI).parent_path() / "sample.dic").string();
    // Asked interactively, a changed script would show the question.
    const Result r = RunCli(dir, {"stats", "--ask", dic});
    EXPECT_EQ(r.exit, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_NE(r.out.find("Translated\t37\n"), std::string::npos);
}

TEST(Cli, ShowPrintsTheDescriptionAsJson)
{
    TempDir dir;
    const std::string script = (SourceDir() / "samples" / "sample.rc").string();
    Result r = RunCli(dir, {"show", script, "IDD_ABOUTBOX", "dialog"});
    EXPECT_EQ(r.exit, 0) << r.err;
    const std::string head =
        "{\"kind\": \"dialog\", \"ended\": true, \"found\": 1, \"caption\": \"About Sample\", "
        "\"style\": "
        "\"0x80C80080\", \"exStyle\": \"0x00000000\", \"rect\": [0, 0, 217, 62], \"fontFace\": \"MS Sans "
        "Serif\", \"fontPoints\": 8, \"controls\": [";
    EXPECT_EQ(r.out.substr(0, head.size()), head);
    EXPECT_NE(
        r.out.find("{\"kind\": 7, \"idName\": \"IDOK\", \"text\": \"OK\", \"rawText\": \"\", \"style\": "
                   "\"0x50020001\", \"rect\": [178, 7, 210, 21]}]}\n"),
        std::string::npos);
    EXPECT_NE(r.out.find("\"text\": \"Copyright \\\\251 2026\""), std::string::npos);

    r = RunCli(dir, {"show", script, "IDR_CONTEXT", "menu"});
    EXPECT_EQ(r.exit, 0);
    EXPECT_EQ(r.out,
              "{\"kind\": \"menu\", \"ended\": true, \"bar\": [{\"type\": \"popup\", \"text\": \"Context\", "
              "\"entries\": [{\"type\": \"item\", \"text\": \"&Properties\"}, {\"type\": \"item\", \"text\": "
              "\"&Delete\"}]}]}\n");

    const std::string sample = (std::filesystem::path(LORVO_CLI).parent_path() / "sample.rc").string();
    const std::string dic = (std::filesystem::path(LORVO_CLI).parent_path() / "sample.dic").string();
    r = RunCli(dir, {"show", sample, "IDR_MAINFRAME", "menu", "--translated", dic});
    EXPECT_EQ(r.exit, 0) << r.err;
    EXPECT_NE(r.out.find("{\"type\": \"item\", \"text\": \"&Nouveau\\u0009Ctrl+N\"}"), std::string::npos);
    EXPECT_NE(r.out.find("{\"type\": \"item\", \"text\": \"Pr\\u00e9&f\\u00e9rences...\"}"),
              std::string::npos);
    r = RunCli(dir, {"show", sample, "IDD_OPTIONS", "dialog", "--translated", dic});
    EXPECT_NE(
        r.out.find(
            "\"text\": \"&Langue :\", \"rawText\": \"\", \"style\": \"0x50000000\", \"rect\": [7, 9, 57, "
            "17], \"translated\": 1}"),
        std::string::npos)
        << r.out;

    r = RunCli(dir, {"show", script, "IDD_MISSING", "dialog"});
    EXPECT_EQ(r.exit, 3);
    EXPECT_NE(r.out.find("\"ended\": false, \"found\": 0"), std::string::npos);
    r = RunCli(dir, {"show", dir.File("none.rc"), "IDD_X", "dialog"});
    EXPECT_EQ(r.exit, 1);
    EXPECT_EQ(r.err, "Error when opening file " + dir.File("none.rc") + "\n");
    EXPECT_EQ(RunCli(dir, {"show", script, "IDD_X", "window"}).exit, 2);
}

TEST(Cli, TwoCommandsWritingOneDictionaryLoseNothing)
{
    TempDir dir;
    const std::string script = dir.File("app.rc");
    WriteBytes(script, SampleScript());
    ASSERT_EQ(RunCli(dir, {"new", dir.Path().string(), "app"}).exit, 0);
    const std::string dic = dir.File("app.dic");
    ASSERT_EQ(RunCli(dir, {"insert", dic, script, dir.File("out.rc")}).exit, 0);
    ASSERT_EQ(RunCli(dir, {"extract", dic}).exit, 0);
    // Pairs of commands started together: the second waits for the first.
    for (int round = 0; round < 10; ++round) {
        const std::string a = "Fichier" + std::to_string(round), b = "Edition" + std::to_string(round);
        const std::string command = Quote(LORVO_CLI) + " translate " + Quote(dic) + " File " + Quote(a) +
                                    " & " + Quote(LORVO_CLI) + " translate " + Quote(dic) + " Edit " +
                                    Quote(b) + " & wait";
        ASSERT_EQ(std::system(command.c_str()), 0);
        const std::string saved = ReadBytes(dic);
        EXPECT_NE(saved.find("\"File\"\xA4\"" + a + "\""), std::string::npos) << round;
        EXPECT_NE(saved.find("\"Edit\"\xA4\"" + b + "\""), std::string::npos) << round;
    }
}

TEST(Cli, ADictionaryInUseOrHalfReadIsNotWritten)
{
    TempDir dir;
    ASSERT_EQ(RunCli(dir, {"new", dir.Path().string(), "app"}).exit, 0);
    const std::string dic = dir.File("app.dic");
    // An unreadable list of resources not to extract is not replaced.
    WriteBytes(dir.File("app.nir"), "Not imported resources, or not\r\n\"x.rc+IDD_X+5\"\r\n");
    const std::string nir = ReadBytes(dir.File("app.nir"));
    WriteBytes(dir.File("app.rc"), SampleScript());
    Result r = RunCli(dir, {"insert", dic, dir.File("app.rc"), dir.File("out.rc")});
    EXPECT_EQ(r.exit, 1);
    EXPECT_NE(r.err.find("is not a not imported resources file"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("could not be read; the dictionary is not saved over it"), std::string::npos)
        << r.err;
    EXPECT_EQ(ReadBytes(dir.File("app.nir")), nir);
    std::filesystem::remove(dir.File("app.nir"));

    // A dictionary another program holds: the command waits, then gives up.
    const std::string hold = "exec 9>" + Quote(dir.File(".app.dic.lock")) + " && flock 9 && sleep 2";
    const std::string command = "(" + hold + ") & sleep 0.3; LINGOREL_LOCK_WAIT=200 " + Quote(LORVO_CLI) +
                                " insert " + Quote(dic) + " " + Quote(dir.File("app.rc")) + " " +
                                Quote(dir.File("out.rc")) + " 2>" + Quote(dir.File(".err")) + "; echo $? >" +
                                Quote(dir.File(".code")) + "; wait";
    std::system(command.c_str());
    EXPECT_EQ(ReadBytes(dir.File(".code")), "1\n");
    EXPECT_EQ(ReadBytes(dir.File(".err")), "The dictionary " + dic + " is in use by another program.\n");
    // Reading needs no lock.
    EXPECT_EQ(RunCli(dir, {"stats", dic}).exit, 0);
}

TEST(Cli, InsertTakesManyScriptsInOneRun)
{
    TempDir dir;
    const std::string dic = dir.File("d.dic");
    ASSERT_EQ(RunCli(dir, {"new", dir.Path().string(), "d"}).exit, 0);
    std::vector<std::string> args = {"insert", dic};
    for (const char* name : {"a.rc", "b.rc", "c.rc"}) {
        WriteBytes(dir.File(name), SampleScript());
        args.push_back(dir.File(name));
    }
    args.push_back(dir.File("missing.rc"));
    args.insert(args.end(), {"--destination", dir.File("out/")});
    // Each script by the rules of one insertion: the missing one is refused
    // with its message, the others are in, in one save.
    Result r = RunCli(dir, args);
    EXPECT_EQ(r.exit, 1);
    EXPECT_NE(r.err.find("missing.rc"), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "Inserted " + dir.File("a.rc") + " -> " + dir.File("out/a.rc") + "\nInserted " +
                         dir.File("b.rc") + " -> " + dir.File("out/b.rc") + "\nInserted " + dir.File("c.rc") +
                         " -> " + dir.File("out/c.rc") + "\n");
    r = RunCli(dir, {"extract", dic});
    EXPECT_EQ(r.exit, 0) << r.err;
    EXPECT_NE(r.out.find("Extracted 3 of 3 file(s)"), std::string::npos) << r.out;
    // Several scripts into one file is refused before anything is done.
    r = RunCli(dir, {"insert", dic, dir.File("a.rc"), dir.File("b.rc"), "--destination", dir.File("one.rc")});
    EXPECT_EQ(r.exit, 2);
}

TEST(Cli, TheManualPageAndTheCompletionNameEveryCommand)
{
    TempDir dir;
    const Result help = RunCli(dir, {"--help"});
    const Result man = RunCli(dir, {"--man"});
    const Result completion = RunCli(dir, {"--bash-completion"});
    ASSERT_EQ(man.exit, 0);
    ASSERT_EQ(completion.exit, 0);
    EXPECT_EQ(man.out.rfind(".TH LORVO\\-CLI 1", 0), 0u);
    // Every command the program knows (its help lists them between
    // "Commands:" and the options), each answering its own --help, in both.
    std::vector<std::string> commands;
    {
        std::istringstream lines(help.out.substr(help.out.find("Commands:\n")));
        std::string line;
        std::getline(lines, line);
        while (std::getline(lines, line) && line.rfind("  ", 0) == 0)
            commands.push_back(line.substr(2, line.find(' ', 2) - 2));
    }
    std::string offered; // the completion's list of first words
    {
        const std::size_t at = completion.out.find("compgen -W '") + 12;
        offered = completion.out.substr(at, completion.out.find('\'', at) - at);
    }
    std::string named;
    for (const std::string& name : commands) {
        named += name + ' ';
        EXPECT_EQ(RunCli(dir, {name, "--help"}).out.rfind("Usage: lorvo-cli " + name, 0), 0u) << name;
        std::string roff;
        for (char c : name)
            roff += c == '-' ? std::string("\\-") : std::string(1, c);
        EXPECT_NE(man.out.find(".B " + roff), std::string::npos) << name;
        EXPECT_NE(completion.out.find("    " + name + ")"), std::string::npos) << name;
    }
    EXPECT_EQ(named + "--help", offered);
    EXPECT_GE(commands.size(), 21u);
    EXPECT_NE(man.out.find("\\-\\-destination\\fR"), std::string::npos);
    EXPECT_NE(completion.out.find("--encoding"), std::string::npos);
    EXPECT_NE(completion.out.find("complete -o filenames -F _lorvo_cli lorvo-cli"), std::string::npos);
}
