#include "engine/ResourceScript.h"

#include "TestSupport.h"
#include "dictionary/CTrelvarDoc.h"
#include "dictionary/ContextDictionary.h"
#include "dictionary/FileList.h"
#include "dictionary/FileSystem.h"
#include "dictionary/GeneralDictionary.h"
#include "dictionary/Messages.h"
#include "dictionary/NotExtractedList.h"
#include "dictionary/ScriptInsertion.h"
#include "dictionary/TextRules.h"
#include "engine/ScriptRuns.h"

#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

// A script with a dialog, a combo box, a menu with nested pop-ups, a string
// table and the blocks whose texts are never wanted. CR LF line ends.
std::string TestScript()
{
    const char* lines[] = {
        "// Microsoft Visual C++ generated resource script.",
        "#include \"resource.h\"",
        "IDD_ABOUT DIALOGEX 0, 0, 235, 55",
        "STYLE DS_MODALFRAME | WS_POPUP | WS_CAPTION",
        "CAPTION \"About App\"",
        "FONT 8, \"MS Sans Serif\"",
        "BEGIN",
        "    ICON            IDR_MAINFRAME,IDC_STATIC,11,17,20,20",
        "    LTEXT           \"  Name: ...\",IDC_STATIC,40,10,119,8",
        "    LTEXT           \"Static\",IDC_STATIC,40,25,119,8",
        "    COMBOBOX        IDC_COMBO1,40,40,48,30,CBS_DROPDOWN",
        "    DEFPUSHBUTTON   \"&OK\",IDOK,178,7,50,14,WS_GROUP",
        "END",
        "",
        "IDD_ABOUT DLGINIT",
        "BEGIN",
        "    IDC_COMBO1, 0x403, 4, 0",
        "0x6552, 0x0064, ",
        "    IDC_COMBO1, 0x403, 1, 0",
        "\"\\000\" ",
        "    0",
        "END",
        "",
        "IDR_MAIN MENU ",
        "BEGIN",
        "    POPUP \"&File\"",
        "    BEGIN",
        "        MENUITEM \"&Open...\\tCtrl+O\",     ID_FILE_OPEN",
        "        POPUP \"Recent\"",
        "        BEGIN",
        "            MENUITEM \"&Clear\",           ID_CLEAR",
        "        END",
        "        MENUITEM SEPARATOR",
        "        MENUITEM \"E&xit\",                ID_APP_EXIT",
        "    END",
        "END",
        "",
        "IDR_ACCEL ACCELERATORS",
        "BEGIN",
        "    \"N\",            ID_FILE_NEW,            VIRTKEY, CONTROL",
        "END",
        "",
        "STRINGTABLE",
        "BEGIN",
        "    IDS_FIRST \"First table\"",
        "END",
        "",
        "STRINGTABLE ",
        "BEGIN",
        "    IDR_MAINFRAME           \"App\"",
        "    IDS_READY               \"Ready\"",
        "END",
    };
    std::string script;
    for (const char* line : lines)
        script += std::string(line) + "\r\n";
    return script;
}

class ScriptTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        source = dir.File("App.rc");
        destination = dir.File("out.rc");
        WriteBytes(source, TestScript());
    }
    void Extract()
    {
        ResourceScript script;
        script.SetGeneralDictionary(&general);
        script.SetContextDictionary(&context);
        script.SetNotExtractedList(&notExtracted);
        ASSERT_TRUE(script.OpenSource(source));
        script.Extract();
    }
    std::string Generate()
    {
        ResourceScript script;
        script.SetGeneralDictionary(&general);
        script.SetContextDictionary(&context);
        script.SetNotExtractedList(&notExtracted);
        EXPECT_TRUE(script.OpenForGeneration(source, destination));
        script.Generate();
        EXPECT_TRUE(script.Close());
        return ReadBytes(destination);
    }
    const ContextEntry* Entry(const std::string& key) const
    {
        const auto* section = context.FindFile(source);
        return section ? ContextDictionary::FindEntry(*section, key) : nullptr;
    }
    // The generated script with one source line replaced.
    std::string Expect(const std::string& from, const std::string& to) const
    {
        std::string script = TestScript();
        const std::size_t p = script.find(from);
        EXPECT_NE(p, std::string::npos) << from;
        return script.replace(p, from.size(), to);
    }

    TempDir dir;
    std::string source, destination;
    GeneralDictionary general;
    ContextDictionary context;
    NotExtractedList notExtracted;
};

} // namespace

TEST(ScanLine, FollowsTheResourcesAsTheCompilerReadsThem)
{
    ResourceScript script;
    bool inResource = false, isCaption = false, isCombo = false;
    auto scan = [&](const char* line) { return script.ScanLine(line, inResource, isCaption, isCombo); };
    // Keywords count before a blank and at the end of the line, in any case.
    scan("STRINGTABLE");
    EXPECT_TRUE(inResource);
    EXPECT_EQ(script.CurrentResourceName(), "STRINGTABLE");
    scan("IDR_X MENU");
    EXPECT_EQ(script.CurrentResourceName(), "IDR_X");
    scan("IDR_Y menuex ");
    EXPECT_EQ(script.CurrentResourceName(), "IDR_Y");
    EXPECT_EQ(script.CurrentKind(), KindMenu);
    EXPECT_FALSE(scan("begin"));
    EXPECT_TRUE(scan("  popup \"&File\""));
    // "IDD_X, DIALOG" in a DESIGNINFO block declares nothing.
    scan("    IDD_X, DIALOG");
    EXPECT_EQ(script.CurrentResourceName(), "IDR_Y");
    // Comments and directives hold no text, wherever they start.
    EXPECT_FALSE(scan("// comment \"x\""));
    EXPECT_FALSE(scan("   // MENUITEM \"Old\", 5"));
    EXPECT_FALSE(scan("  #define X \"x\""));
    EXPECT_FALSE(scan("  /* MENUITEM \"Old\", 5"));
    EXPECT_FALSE(scan("     MENUITEM \"Older\", 6 */"));
    EXPECT_TRUE(scan("  /* c */ MENUITEM \"New\", 7 // \"x\""));
    scan("END");
    EXPECT_FALSE(inResource);

    EXPECT_FALSE(scan("  IDD_A DIALOG 0, 0, 10, 10"));
    EXPECT_TRUE(inResource);
    EXPECT_EQ(script.CurrentResourceName(), "  IDD_A"); // names are not trimmed
    EXPECT_EQ(script.CurrentKind(), KindDialog);
    EXPECT_TRUE(scan("CAPTION \"Edit DLGINIT\""));
    EXPECT_TRUE(isCaption);
    EXPECT_EQ(script.CurrentResourceName(), "  IDD_A"); // a keyword in a literal is text
    EXPECT_FALSE(scan("FONT 8, \"MS Sans Serif\""));
    EXPECT_FALSE(isCaption);
    EXPECT_FALSE(scan("BEGIN"));
    EXPECT_TRUE(scan("    LTEXT \"a\",1,2,3,4,5"));
    EXPECT_TRUE(scan("    LTEXT \"THE END IS NEAR\",1,2,3,4,5"));
    EXPECT_TRUE(inResource);
    // A stray comma at the end of a control does not swallow the next one.
    EXPECT_TRUE(scan("    RTEXT \"%s line(s)\",IDC_SUM,96,42,52,8,"));
    EXPECT_TRUE(scan("    GROUPBOX \"Re-indent all?\",IDC_G,7,60,182,56"));
    EXPECT_FALSE(scan("END // IDD_A"));
    EXPECT_FALSE(inResource);

    // Only a DLGINIT block has combo-box entries.
    EXPECT_FALSE(scan("VS_VERSION_INFO VERSIONINFO"));
    EXPECT_FALSE(inResource);
    EXPECT_FALSE(scan("BEGIN"));
    EXPECT_FALSE(scan("  VALUE \"Translation\", 0x403, 1200"));
    EXPECT_FALSE(isCombo);
    EXPECT_FALSE(scan("END"));
    EXPECT_FALSE(scan("IDD_B DLGINIT"));
    EXPECT_EQ(script.CurrentResourceName(), "IDD_B");
    EXPECT_FALSE(scan("BEGIN"));
    EXPECT_TRUE(scan("    IDC_C, 0x403, 4, 0"));
    EXPECT_TRUE(isCombo);
    EXPECT_TRUE(inResource);
    EXPECT_FALSE(scan("END"));

    // File names and data of other resources are not texts.
    EXPECT_FALSE(scan("IDR_MAINFRAME ICON \"res\\\\app.ico\""));
    EXPECT_FALSE(scan("1 24 \"res/app.manifest\""));
    EXPECT_FALSE(scan("IDR_GIF GIF \"res/anim.gif\""));
    EXPECT_FALSE(scan("IDD_X 240"));
    EXPECT_FALSE(scan("{"));
    EXPECT_FALSE(scan("  \"\\000\","));
    EXPECT_FALSE(scan("}"));
    EXPECT_FALSE(inResource);
}

TEST(ScanLine, AnExcludedResourceIsSkippedToItsOwnEnd)
{
    NotExtractedList list;
    list.Add("a.rc+IDR_X+4");
    ResourceScript script;
    script.SetNotExtractedList(&list);
    script.OpenSource("a.rc"); // fails (no file), but the path is the key
    bool inResource = false, isCaption = false, isCombo = false;
    auto scan = [&](const char* line) { return script.ScanLine(line, inResource, isCaption, isCombo); };
    EXPECT_FALSE(scan("IDR_X MENU "));
    EXPECT_TRUE(script.Skipping());
    for (const char* line :
         {"BEGIN", "POPUP \"a\"", "BEGIN", "MENUITEM \"b\", 1", "END", "MENUITEM \"c\", 2"})
        EXPECT_FALSE(scan(line)) << line;
    EXPECT_FALSE(scan("END"));
    scan("IDR_Y MENU");
    EXPECT_FALSE(script.Skipping());
    scan("BEGIN");
    EXPECT_TRUE(scan("MENUITEM \"d\", 3"));
}

TEST_F(ScriptTest, ExtractionFillsBothDictionaries)
{
    Extract();
    std::vector<std::string> texts;
    for (const auto& e : general.Texts())
        texts.emplace_back(e.key);
    EXPECT_EQ(texts, (std::vector<std::string>{"About App", "Name", "OK", "Red", "File", "Open...\\tCtrl+O",
                                               "Recent", "Clear", "Exit", "First table", "App", "Ready"}));
    EXPECT_EQ(Entry("IDD_ABOUT+OK")->shortcut, 1);
    EXPECT_EQ(Entry("IDD_ABOUT+Name")->shortcut, 0);
    EXPECT_EQ(Entry("IDD_ABOUT+Red")->itemReference, "IDC_COMBO1");
    EXPECT_EQ(Entry("IDR_MAIN+Exit")->shortcut, 2); // untranslated: the script's mnemonic
    EXPECT_EQ(Entry("STRINGTABLE+Ready")->original, "Ready");
    EXPECT_EQ(context.Files().begin()->key, AnsiLower(source));
}

TEST_F(ScriptTest, ReExtractionKeepsTheTranslationsMadeBefore)
{
    Extract();
    general.SetTranslation("OK", "D'accord");
    ContextEntry* ok = ContextDictionary::FindEntry(*context.FindFile(source), "IDD_ABOUT+OK");
    ok->contextTranslation = "Oui";
    ok->shortcut = 2;
    ContextDictionary::FindEntry(*context.FindFile(source), "IDR_MAIN+Exit")->shortcut = 3;
    Extract();
    std::string t;
    general.GetTranslation("OK", t);
    EXPECT_EQ(t, "D'accord");
    EXPECT_EQ(Entry("IDD_ABOUT+OK")->contextTranslation, "Oui");
    EXPECT_EQ(Entry("IDD_ABOUT+OK")->shortcut, 2);
    EXPECT_EQ(Entry("IDR_MAIN+Exit")->shortcut, 2); // untranslated: the script's mnemonic
}

TEST_F(ScriptTest, ExcludedResourcesContributeNothing)
{
    notExtracted.Add(source + "+IDD_ABOUT+5");
    notExtracted.Add(source + "+IDR_MAIN+4");
    Extract();
    EXPECT_EQ(Entry("IDD_ABOUT+OK"), nullptr);
    EXPECT_EQ(Entry("IDD_ABOUT+Red"), nullptr);
    // The whole menu stays excluded, not only its first pop-up.
    EXPECT_EQ(Entry("IDR_MAIN+Exit"), nullptr);
    EXPECT_EQ(Entry("IDD_ABOUT+Exit"), nullptr);
    EXPECT_NE(Entry("STRINGTABLE+Ready"), nullptr);
}

TEST_F(ScriptTest, AnEmptyDictionaryGivesTheSameBytes)
{
    Extract();
    EXPECT_EQ(Generate(), TestScript());
    general = GeneralDictionary();
    context = ContextDictionary();
    EXPECT_EQ(Generate(), TestScript());
}

TEST_F(ScriptTest, TranslationsKeepDecorationsAndMnemonics)
{
    Extract();
    general.SetTranslation("Name", "Nom");
    general.SetTranslation("Open...\\tCtrl+O", "Ouvrir...\\tCtrl+O");
    general.SetTranslation("About App", "\xC0 propos \"App\"");
    general.SetTranslation("Exit", "Quitter");
    std::string out = Generate();
    EXPECT_NE(out.find("    LTEXT           \"  Nom: ...\",IDC_STATIC,40,10,119,8\r\n"), std::string::npos);
    EXPECT_NE(out.find("MENUITEM \"&Ouvrir...\\tCtrl+O\",     ID_FILE_OPEN\r\n"), std::string::npos);
    EXPECT_NE(out.find("CAPTION \"\\300 propos \"\"App\"\"\"\r\n"), std::string::npos);
    EXPECT_NE(out.find("MENUITEM \"Q&uitter\","), std::string::npos);
}

TEST_F(ScriptTest, ContextTranslationsAndShortcutsWinOverGeneralOnes)
{
    Extract();
    general.SetTranslation("Exit", "Quitter");
    general.SetTranslation("OK", "Bien");
    ContextEntry* ok = ContextDictionary::FindEntry(*context.FindFile(source), "IDD_ABOUT+OK");
    ok->contextTranslation = "D'accord";
    ok->shortcut = 3;
    ContextDictionary::FindEntry(*context.FindFile(source), "IDR_MAIN+Exit")->shortcut = -1;
    const std::string out = Generate();
    EXPECT_NE(out.find("\"D'&accord\",IDOK"), std::string::npos);
    EXPECT_NE(out.find("MENUITEM \"Quitter\","), std::string::npos);
}

TEST_F(ScriptTest, AContextTranslationStaysWithItsOwnResource)
{
    // The same text in two dialogs and a string table, translated in context
    // in the second dialog only: each place takes its own translation, and
    // again when the script is generated a second time.
    WriteBytes(source,
               "IDD_A DIALOG 0, 0, 100, 50\r\nBEGIN\r\n    DEFPUSHBUTTON \"OK\",IDOK,5,5,40,14\r\nEND\r\n"
               "IDD_B DIALOG 0, 0, 100, 50\r\nBEGIN\r\n    DEFPUSHBUTTON \"OK\",IDOK,5,5,40,14\r\nEND\r\n"
               "STRINGTABLE\r\nBEGIN\r\n    IDS_OK \"OK\"\r\nEND\r\n");
    Extract();
    general.SetTranslation("OK", "Bien");
    ContextDictionary::FindEntry(*context.FindFile(source), "IDD_B+OK")->contextTranslation = "D'accord";
    const std::string expected =
        "IDD_A DIALOG 0, 0, 100, 50\r\nBEGIN\r\n    DEFPUSHBUTTON \"Bien\",IDOK,5,5,40,14\r\nEND\r\n"
        "IDD_B DIALOG 0, 0, 100, 50\r\nBEGIN\r\n    DEFPUSHBUTTON \"D'accord\",IDOK,5,5,40,14\r\nEND\r\n"
        "STRINGTABLE\r\nBEGIN\r\n    IDS_OK \"Bien\"\r\nEND\r\n";
    EXPECT_EQ(Generate(), expected);
    EXPECT_EQ(Generate(), expected);
}

TEST_F(ScriptTest, DoNotTranslateAndExcludedResourcesStayAsTheyAre)
{
    Extract();
    general.SetTranslation("OK", "D'accord");
    general.SetTranslation("Exit", "Quitter");
    general.SetTranslation("Ready", "Pr\xEAt");
    general.SetDoNotTranslate("OK");
    notExtracted.Add(source + "+IDR_MAIN+4");
    const std::string out = Generate();
    EXPECT_NE(out.find("\"&OK\",IDOK"), std::string::npos);
    EXPECT_NE(out.find("\"E&xit\""), std::string::npos);
    EXPECT_NE(out.find("\"Pr\\352t\"\r\n"), std::string::npos); // string tables are never excluded
}

TEST_F(ScriptTest, ComboStringsAreRewrittenWithTheirNewLength)
{
    Extract();
    general.SetTranslation("Red", "Rouge");
    const std::string out = Generate();
    EXPECT_EQ(out, Expect("    IDC_COMBO1, 0x403, 4, 0\r\n0x6552, 0x0064, \r\n",
                          "\tIDC_COMBO1, 0x403, 6, 0\r\n0x6f52, 0x6775, 0x0065, \r\n"));
}

TEST_F(ScriptTest, AnExistingDestinationIsBackedUp)
{
    WriteBytes(destination, "previous");
    Generate();
    EXPECT_EQ(ReadBytes(dir.File("out.qv")), "previous");
    Generate();
    EXPECT_EQ(ReadBytes(dir.File("out.qv")), TestScript());

    RecordingReporter reporter;
    ResourceScript script;
    script.SetReporter(&reporter);
    const std::string noDot = dir.File("nodot");
    WriteBytes(noDot, "keep");
    EXPECT_FALSE(script.OpenForGeneration(source, noDot));
    EXPECT_EQ(ReadBytes(noDot), "keep");
    EXPECT_FALSE(script.OpenForGeneration(dir.File("missing.rc"), destination));
    EXPECT_EQ(reporter.texts.back(),
              "Error when opening file " + dir.File("missing.rc") + "\nNo such file or directory");
}

TEST_F(ScriptTest, AStoredPathInAnotherCaseFindsItsScript)
{
    // Dictionaries made on Windows keep their paths in lower case: the
    // script is read, measured and generated from such a path, and the
    // real name is still known as the source.
    const std::string real = source;
    source = dir.File("app.rc");
    Extract();
    EXPECT_NE(Entry("IDD_ABOUT+OK"), nullptr);
    EXPECT_EQ(Generate(), TestScript());
    EXPECT_EQ(TotalSize({source}), static_cast<std::int64_t>(TestScript().size()));
    ASSERT_TRUE(LastWriteFileTime(source).has_value()); // the stamp of the list of scripts
    EXPECT_EQ(LastWriteFileTime(source), LastWriteFileTime(real));
    RecordingReporter reporter;
    ResourceScript script;
    script.SetReporter(&reporter);
    EXPECT_FALSE(script.OpenForGeneration(source, real));
    EXPECT_EQ(reporter.ids.back(), MsgSourceEqualsDestination);
    EXPECT_EQ(ReadBytes(real), TestScript());
}

TEST_F(ScriptTest, ATextIsLookedUpByItsCoreThenWithWhatFollowsIt)
{
    // "  Name:  " is known by its core "Name"; "Size:" only as a whole. The
    // result keeps what the lookup did not cover, and the text becomes the
    // form it was found under (the same text when it is not translated).
    general.AddText("Name", "Nom");
    general.AddText("Size:", "Taille :");
    ResourceScript script;
    script.SetGeneralDictionary(&general);
    script.SetContextDictionary(&context);
    script.SetSourcePath(source);
    struct Case
    {
        std::string text, result, normal;
        bool found;
    };
    for (const Case& c :
         {Case{"  Name:  ", "  Nom:  ", "Name", true}, Case{"Size:", "Taille :", "Size:", true},
          Case{" Size: ", " Taille : ", "Size:", true}, Case{"Other:", "Other:", "Other:", false},
          Case{"...", "...", "...", false}, Case{"", "", "", false}}) {
        std::string text = c.text;
        int shortcut = 0;
        bool found = !c.found;
        EXPECT_EQ(script.TranslateText(text, shortcut, &found), c.result) << c.text;
        EXPECT_EQ(text, c.normal) << c.text;
        EXPECT_EQ(found, c.found) << c.text;
    }
}

TEST_F(ScriptTest, LineEndsOfEachLineAreKept)
{
    std::string mixed = TestScript();
    // Every other line with a bare LF, and no newline at the very end.
    std::string out;
    bool crlf = true;
    for (std::size_t i = 0; i < mixed.size(); ++i) {
        if (mixed[i] == '\r') {
            if (!crlf)
                continue;
            crlf = false;
        } else if (mixed[i] == '\n' && mixed[i - 1] != '\r') {
            crlf = true;
        }
        out += mixed[i];
    }
    out.resize(out.size() - 2);
    WriteBytes(source, out);
    Extract();
    EXPECT_EQ(Generate(), out);
    general.SetTranslation("Ready", "Pret");
    general.SetTranslation("Clear", "Effacer");
    std::string expected = out;
    expected.replace(expected.find("\"Ready\""), 7, "\"Pret\"");
    expected.replace(expected.find("\"&Clear\""), 8, "\"&Effacer\"");
    EXPECT_EQ(Generate(), expected);
}

TEST(ScriptRuns, TheAllFilesBarCountsBytesInAtMost65535Steps)
{
    EXPECT_EQ(ScaleForTotal(65535).range, 65535);
    EXPECT_EQ(ScaleForTotal(65535).divisor, 1);
    EXPECT_EQ(ScaleForTotal(65536).range, 65535);
    EXPECT_EQ(ScaleForTotal(65536).divisor, 1);
    EXPECT_EQ(ScaleForTotal(200000).divisor, 3);
    // A script that vanished before the run counts nothing instead of
    // ending the run.
    TempDir dir;
    WriteBytes(dir.File("a.rc"), std::string(1000, ' '));
    EXPECT_EQ(TotalSize({dir.File("a.rc"), dir.File("gone.rc")}), 1000);
}

TEST(ScriptRuns, AScriptWrittenWhileItIsReadIsOfferedAgain)
{
    // The stamp is the time the script had when it was opened: an editor
    // saving it while the extraction reads it leaves it newer than its
    // stamp, so it is extracted again.
    TempDir dir;
    CTrelvarDoc doc;
    ASSERT_TRUE(
        doc.CreateDictionary("d", dir.Path().string(), dir.Path().string(), dir.Path().string(), false));
    const std::string source = dir.File("app.rc");
    WriteBytes(source, TestScript());
    TouchFile(source, -3600);
    ASSERT_EQ(InsertScript(*doc.Files(), source, dir.File("out.rc"), {}).message, 0);
    const std::uint64_t opened = *LastWriteFileTime(source);

    struct SaveMeanwhile : ProgressSink
    {
        std::string path;
        void SetRange(int) override {}
        void SetPosition(int position) override
        {
            if (position > 0)
                TouchFile(path, 0);
        }
    } editor;
    editor.path = source;
    ASSERT_EQ(ExtractScripts(doc, {source}, nullptr, &editor, nullptr).extracted, 1);
    EXPECT_EQ(doc.Files()->Find(source)->stamp, FormatStamp(opened));
    EXPECT_TRUE(doc.Files()->CheckChanged(source, dir.File("out.rc")));

    // Unwritten since, the script is not offered again.
    TouchFile(source, -3600);
    ASSERT_EQ(ExtractScripts(doc, {source}, nullptr, nullptr, nullptr).extracted, 1);
    EXPECT_EQ(doc.Files()->Find(source)->stamp, FormatStamp(*LastWriteFileTime(source)));
    EXPECT_FALSE(doc.Files()->CheckChanged(source, dir.File("out.rc")));
}

TEST(ScriptRuns, AFilesWriteTimeIsTheOneStampsWereAlwaysMadeOf)
{
    // Stamps were made from the standard library's last-write time; the
    // time read from a file's status must give the same ticks, or stored
    // stamps would change their meaning.
    const auto library = [](const std::string& path) {
        const auto system = std::chrono::file_clock::to_sys(std::filesystem::last_write_time(path));
        const auto ticks =
            std::chrono::duration_cast<std::chrono::nanoseconds>(system.time_since_epoch()).count() / 100;
        return static_cast<std::uint64_t>(ticks + 116444736000000000LL);
    };
    TempDir dir;
    const std::string path = dir.File("a.rc");
    WriteBytes(path, "x");
    // Times with and without a fraction of a second, far in the past and
    // the future.
    for (const std::int64_t seconds : {-11644473600LL + 1, 0LL, 1700000000LL, 4102444800LL}) {
        for (const long nanoseconds : {0L, 1L, 99L, 100L, 123456789L, 999999999L}) {
            const timespec times[2] = {{seconds, nanoseconds}, {seconds, nanoseconds}};
            ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
            EXPECT_EQ(LastWriteFileTime(path), library(path)) << seconds << " s " << nanoseconds << " ns";
            EXPECT_EQ(IdentityOf(path).writeTime, library(path));
        }
    }
    EXPECT_FALSE(LastWriteFileTime(dir.File("gone.rc")));
    EXPECT_FALSE(LastWriteFileTime(""));
}
