// Forms of real scripts that must neither lose nor corrupt anything: each
// case is the smallest script that shows it, run through the document and
// the run helpers the program and the command-line tool use (create,
// insert, extract, save, reopen, translate, generate).
#include "FidelityFixture.h"
#include "TestSupport.h"
#include "dictionary/CTrelvarDoc.h"
#include "dictionary/ContextDictionary.h"
#include "dictionary/DictionaryFormat.h"
#include "dictionary/FileList.h"
#include "dictionary/GeneralDictionary.h"
#include "dictionary/Messages.h"
#include "dictionary/NotExtractedList.h"
#include "dictionary/ScriptInsertion.h"
#include "engine/Literal.h"
#include "engine/ResourceKind.h"
#include "engine/ScriptResources.h"
#include "engine/ScriptRuns.h"

#include <gtest/gtest.h>

namespace {

const char* const kBrowserDialog[] = {
    "IDD_SHARE_DLG DIALOGEX 0, 0, 245, 130",
    "CAPTION \"Share\"",
    "BEGIN",
    "    CONTROL         \"Upload selected images\",IDC_RADIO_UPLOAD_SELECTION,",
    "                    \"Button\",BS_AUTORADIOBUTTON | WS_GROUP,7,36,91,10",
    "    CONTROL         \"<A>View Photos</A>\",IDC_VIEW_PHOTOS_LINK,",
    "                    \"SysLink\",NOT WS_VISIBLE | WS_TABSTOP,102,39,45,11",
    "    CONTROL         IDB_LOGO,IDC_STATIC,\"SysAnimate32\",ACS_CENTER,7,7,20,20",
    "    CONTROL",
    "                    \"Later\",IDC_LATER,\"Button\",BS_PUSHBUTTON,7,60,50,14",
    "END",
};

} // namespace

TEST_F(Fidelity, OnlyTheTextFieldOfAStatementIsAText)
{
    std::string script;
    for (const char* line : kBrowserDialog)
        script += std::string(line) + "\r\n";
    script += Crlf({"IDD_CLASSY DIALOG 0, 0, 10, 10", "CLASS \"MyDialogClass\"", "BEGIN",
                    "    LTEXT \"Hello\",IDC_STATIC,1,1,8,8", "END"});
    Start(script);
    EXPECT_EQ(Texts(), (std::vector<std::string>{"Share", "Upload selected images", "<A>View Photos</A>",
                                                 "Later", "Hello"}));
    // Translating every text leaves the class names alone.
    for (const std::string& text : Texts())
        Translate(text, "[" + text + "]");
    const std::string out = Generate();
    EXPECT_NE(out.find("\"SysLink\",NOT WS_VISIBLE"), std::string::npos);
    EXPECT_NE(out.find("\"[Later]\",IDC_LATER,\"Button\""), std::string::npos);
    EXPECT_NE(out.find("CLASS \"MyDialogClass\""), std::string::npos);
}

TEST_F(Fidelity, ResourceKeywordsAtTheEndOfTheLine)
{
    Start(Crlf({"IDD_A DIALOGEX 0, 0, 10, 10",
                "BEGIN",
                "    LTEXT \"In the dialog\",IDC_STATIC,1,1,8,8",
                "END",
                "",
                "IDR_MAIN MENU",
                "BEGIN",
                "    POPUP \"&File\"",
                "    BEGIN",
                "        MENUITEM \"E&xit\", ID_APP_EXIT",
                "    END",
                "END",
                "",
                "IDR_EX MENUEX",
                "BEGIN",
                "    POPUP \"&Tools\", 100, MFT_STRING, MFS_ENABLED",
                "    BEGIN",
                "        MENUITEM \"&Options\", ID_OPTIONS, MFT_STRING, MFS_ENABLED",
                "    END",
                "END",
                "",
                "GUIDELINES DESIGNINFO",
                "BEGIN",
                "    IDD_A, DIALOG",
                "    BEGIN",
                "        LEFTMARGIN, 7",
                "    END",
                "END",
                "",
                "STRINGTABLE",
                "BEGIN",
                "    IDS_READY \"Ready\"",
                "END"}));
    EXPECT_NE(Entry("IDR_MAIN+Exit"), nullptr);
    EXPECT_EQ(Entry("IDD_A+Exit"), nullptr);
    EXPECT_NE(Entry("IDR_EX+Options"), nullptr);
    EXPECT_NE(Entry("STRINGTABLE+Ready"), nullptr);
    ScriptResources resources;
    ASSERT_TRUE(resources.Scan(source));
    EXPECT_EQ(resources.dialogs, std::vector<std::string>{"IDD_A"});
    EXPECT_EQ(resources.menus, (std::vector<std::string>{"IDR_MAIN", "IDR_EX"}));
}

TEST_F(Fidelity, MisfiledEntriesKeepTheirTranslationsWhenTheyMove)
{
    // A dictionary made when "IDR_MAIN MENU" at the end of its line was not
    // seen: the menu's texts were filed under the dialog before it.
    Start(Crlf({"IDD_A DIALOG 0, 0, 10, 10", "BEGIN", "    LTEXT \"Hello\",IDC_STATIC,1,1,8,8", "END",
                "IDR_MAIN MENU", "BEGIN", "    MENUITEM \"&Open\", ID_OPEN", "END"}));
    ContextDictionary::Section* section = doc.Context()->FindFile(source);
    ContextEntry moved = *ContextDictionary::FindEntry(*section, "IDR_MAIN+Open");
    moved.contextTranslation = "Ouvrir";
    moved.shortcut = 2;
    doc.Context()->RemoveFile(source);
    doc.Context()->AddEntry(source, "IDD_A+Hello", "Hello", "Salut", 0, "");
    doc.Context()->AddEntry(source, "IDD_A+Open", "Open", moved.contextTranslation.str(), moved.shortcut, "");
    Extract();
    EXPECT_EQ(Entry("IDD_A+Open"), nullptr);
    ASSERT_NE(Entry("IDR_MAIN+Open"), nullptr);
    EXPECT_EQ(Entry("IDR_MAIN+Open")->contextTranslation, "Ouvrir");
    EXPECT_EQ(Entry("IDR_MAIN+Open")->shortcut, 2);
    EXPECT_EQ(Entry("IDD_A+Hello")->contextTranslation, "Salut");
    EXPECT_NE(Generate().find("MENUITEM \"O&uvrir\", ID_OPEN"), std::string::npos);
}

TEST_F(Fidelity, BracesAreBeginAndEnd)
{
    Start(Crlf({"IDR_HIDDEN MENU", "{", "    POPUP \"&Secret\"", "    {",
                "        MENUITEM \"&Hidden\", ID_HIDDEN", "    }", "}", "IDD_B DIALOG 0, 0, 10, 10", "{",
                "    LTEXT \"Shown\",IDC_STATIC,1,1,8,8", "}", "STRINGTABLE", "{", "    IDS_X \"Table\"",
                "}"}));
    EXPECT_NE(Entry("IDR_HIDDEN+Hidden"), nullptr);
    // An excluded menu written with braces ends at its own closing brace.
    doc.NotExtracted()->Add(NotExtractedList::MakeKey(source, "IDR_HIDDEN", KindMenu));
    Extract();
    EXPECT_EQ(Entry("IDR_HIDDEN+Hidden"), nullptr);
    EXPECT_EQ(Entry("IDR_HIDDEN+Secret"), nullptr);
    EXPECT_NE(Entry("IDD_B+Shown"), nullptr);
    EXPECT_NE(Entry("STRINGTABLE+Table"), nullptr);
    Translate("Shown", "Vu");
    EXPECT_NE(Generate().find("LTEXT \"Vu\",IDC_STATIC"), std::string::npos);
}

TEST_F(Fidelity, ControlBytesAndTheSeparatorSurviveTheDictionaryFiles)
{
    const std::string script =
        Crlf({"STRINGTABLE", "BEGIN", "    IDS_A \"Line1\\012Line2\"", "    IDS_B \"Dos\\x0d\\x0aEnd\"",
              "    IDS_C \"100\\244 and \xA4 raw\"", "    IDS_D \"Tab\\011\\X41 \\\\X42\"", "END"});
    Start(script);
    const std::vector<std::string> texts{"Line1\nLine2", "Dos\r\nEnd", "100\xA4 and \xA4 raw",
                                         "Tab\t\\X41 \\\\X42"};
    EXPECT_EQ(Texts(), texts);
    // Each record stays on one line with its three fields.
    const std::string dic = ReadBytes(dir.File("d.dic"));
    EXPECT_NE(dic.find("\"Line1\\X0ALine2\"\xA4\"\"\xA4\"0\""), std::string::npos);
    EXPECT_NE(dic.find("\"100\\XA4 and \\XA4 raw\""), std::string::npos);
    EXPECT_NE(dic.find("\"Tab\t\\X5CX41 \\\\X5CX42\""), std::string::npos);
    for (const std::string& text : texts)
        Translate(text, text + " (fr)");
    Reopen();
    EXPECT_EQ(Texts(), texts);
    for (const std::string& text : texts) {
        ASSERT_NE(doc.General()->FindTranslation(text), nullptr);
        EXPECT_EQ(*doc.General()->FindTranslation(text), text + " (fr)");
        EXPECT_NE(Entry("STRINGTABLE+" + text), nullptr);
    }
    // Control bytes go into the script as escapes, never raw.
    const std::string out = Generate();
    EXPECT_NE(out.find("IDS_A \"Line1\\012Line2 (fr)\"\r\n"), std::string::npos);
    EXPECT_NE(out.find("IDS_B \"Dos\\015\\012End (fr)\"\r\n"), std::string::npos);
    EXPECT_NE(out.find("IDS_C \"100\\244 and \\244 raw (fr)\"\r\n"), std::string::npos);
    EXPECT_NE(out.find("IDS_D \"Tab\\011\\X41 \\\\X42 (fr)\"\r\n"), std::string::npos);
    // And a dictionary without such bytes is written as it always was.
    std::string plain;
    AppendQuotedField(plain, "Plain \\x41 text");
    EXPECT_EQ(plain, "\"Plain \\x41 text\"");
}

TEST_F(Fidelity, ATranslatedTextCompilesToWhatTheTranslatorMeant)
{
    Start(Crlf(
        {"STRINGTABLE", "BEGIN", "    IDS_PATH \"Saved in C:\\\\temp\"", "    IDS_NUL \"a\\000b\"", "END"}));
    EXPECT_EQ(Texts(), (std::vector<std::string>{"Saved in C:\\\\temp", "a\\000b"}));
    Translate("Saved in C:\\\\temp", "Dans C:\\\\temp");
    Translate("a\\000b", "x\\000y");
    const std::string out = Generate();
    EXPECT_NE(out.find("IDS_PATH \"Dans C:\\\\temp\""), std::string::npos);
    EXPECT_EQ(CompileLiteral("Dans C:\\\\temp"), "Dans C:\\temp");
    EXPECT_NE(out.find("IDS_NUL \"x\\000y\""), std::string::npos);
}

TEST_F(Fidelity, ADamagedComboEntryIsCopiedAndTheRestSurvives)
{
    const std::string script =
        Crlf({"IDD_A DLGINIT", "BEGIN", "    IDC_COMBO1, 0x403, 40, 0", "0x6552, 0x0064, ",
              "    IDC_COMBO1, 0x403, 5, 0", "0x6c42, 0x6575, \"\\000\" ", "    0", "END", "",
              "IDD_B DIALOG 0, 0, 10, 10", "BEGIN", "    LTEXT \"After\",IDC_STATIC,1,1,8,8", "END"});
    Start(script);
    ASSERT_EQ(reporter.ids.size(), 1u);
    EXPECT_EQ(reporter.ids[0], MsgDamagedComboData);
    EXPECT_NE(reporter.texts[0].find("line 3 of"), std::string::npos) << reporter.texts[0];
    EXPECT_EQ(Texts(), (std::vector<std::string>{"Blue", "After"}));
    Translate("Blue", "Bleu");
    Translate("After", "Apr\xE8s");
    std::string expected = script;
    Replace(expected, "0x6c42, 0x6575, \"\\000\" ", "0x6c42, 0x7565, \"\\000\"");
    Replace(expected, "    IDC_COMBO1, 0x403, 5, 0", "\tIDC_COMBO1, 0x403, 5, 0");
    Replace(expected, "\"After\"", "\"Apr\\350s\"");
    EXPECT_EQ(Generate(), expected);
}

TEST_F(Fidelity, ALiteralContinuedAfterABackslashIsOneText)
{
    const std::string script = Crlf({"STRINGTABLE", "BEGIN", "    IDS_HELP \"Usage:\\n\\", "  -a  all\\n\\",
                                     "  -b  brief\"", "    IDS_NEXT \"Next\"", "END"});
    Start(script);
    EXPECT_EQ(Texts(), (std::vector<std::string>{"Usage:\\n  -a  all\\n  -b  brief", "Next"}));
    // Untranslated, the lines come back as they were.
    EXPECT_EQ(Generate(), script);
    Translate("Usage:\\n  -a  all\\n  -b  brief", "Emploi :\\n  -a  tout\\n  -b  bref");
    const std::string out = Generate();
    EXPECT_NE(out.find("    IDS_HELP \"Emploi :\\n  -a  tout\\n  -b  bref\"\r\n    IDS_NEXT \"Next\""),
              std::string::npos)
        << out;
}

TEST_F(Fidelity, AFailedSaveLeavesTheDocumentModified)
{
    Start(Crlf({"STRINGTABLE", "BEGIN", "    IDS_A \"Alpha\"", "END"}));
    Translate("Alpha", "Alpha (fr)");
    doc.MarkChanged(CTrelvarDoc::GeneralChanged);
    // The .ent cannot be replaced: a folder stands in its place.
    std::filesystem::remove(dir.File("d.ent"));
    std::filesystem::create_directory(dir.File("d.ent"));
    EXPECT_FALSE(doc.Save());
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(reporter.ids.back(), MsgCannotSaveFile);
}

TEST_F(Fidelity, ScriptsWithoutRcInAFolderWithAPlusKeepTheirEntries)
{
    const std::string folder = dir.File("Visual C++");
    std::filesystem::create_directory(folder);
    source = folder + "/app.rc2";
    destination = dir.File("out.rc2");
    WriteBytes(source, Crlf({"STRINGTABLE", "BEGIN", "    IDS_A \"Alpha\"", "END"}));
    doc.SetReporter(&reporter);
    ASSERT_TRUE(doc.CreateDictionary("d", dir.Path().string(), {}, {}));
    ASSERT_EQ(InsertScript(*doc.Files(), source, destination, {}).message, 0);
    Extract();
    ContextDictionary::FindEntry(*doc.Context()->FindFile(source), "STRINGTABLE+Alpha")->contextTranslation =
        "A";
    Reopen();
    ASSERT_NE(Entry("STRINGTABLE+Alpha"), nullptr);
    EXPECT_EQ(Entry("STRINGTABLE+Alpha")->contextTranslation, "A");
    EXPECT_EQ(doc.Context()->FileCount(), 1);
    // Saved again, the file is the same.
    const std::string saved = ReadBytes(dir.File("d.ent"));
    Reopen();
    ASSERT_TRUE(doc.Save());
    EXPECT_EQ(ReadBytes(dir.File("d.ent")), saved);
}

TEST_F(Fidelity, GenerationMakesTheDestinationFolder)
{
    Start(Crlf({"STRINGTABLE", "BEGIN", "    IDS_A \"Alpha\"", "END"}));
    destination = dir.File("not/there/yet/out.rc");
    Translate("Alpha", "Alpha (fr)");
    EXPECT_NE(Generate().find("\"Alpha (fr)\""), std::string::npos);
}
