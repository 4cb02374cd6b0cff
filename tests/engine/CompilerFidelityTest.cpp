// A script as the resource compiler reads it: each case is the smallest
// script where reading it line by line went wrong, taken through extraction
// and generation as the program and the command-line tool take it.
#include "FidelityFixture.h"
#include "dictionary/FileList.h"
#include "dictionary/Messages.h"
#include "engine/AccessKeys.h"
#include "engine/Literal.h"

#include <gtest/gtest.h>

namespace {

class Compiler : public Fidelity
{
protected:
    // What a window or the command line does when a translation is typed.
    void TranslateAsUser(const std::string& original, const std::string& translation)
    {
        ASSERT_NE(doc.General()->FindTranslation(original), nullptr) << original;
        SetGeneralTranslation(*doc.General(), *doc.Context(), original, translation,
                              doc.TranslationsCodePage());
    }
    // The line of the generated script that holds the text.
    std::string LineWith(const std::string& script, const std::string& text) const
    {
        const std::size_t at = script.find(text);
        if (at == std::string::npos)
            return {};
        const std::size_t start = script.rfind('\n', at) + 1;
        return script.substr(start, script.find('\r', at) - start);
    }
};

} // namespace

TEST_F(Compiler, EveryOccurrenceKeepsItsOwnAccessKey)
{
    Start(Crlf({"IDR_MAIN MENU", "BEGIN", "    POPUP \"&Fold\"", "    BEGIN", "        MENUITEM \"Fold\", 1",
                "        MENUITEM \"A&F\", 2", "        MENUITEM \"&AF\", 3", "        MENUITEM \"A&F\", 4",
                "    END", "END", "STRINGTABLE", "BEGIN", "    1 \"&Open\"", "END", "STRINGTABLE", "BEGIN",
                "    2 \"Open\"", "END"}));
    EXPECT_EQ(Entry("IDR_MAIN+Fold")->ShortcutOf(0), 1);
    EXPECT_EQ(Entry("IDR_MAIN+Fold")->ShortcutOf(1), 0);
    // The file lists the occurrences' keys; a reader taking the field's
    // value reads the first one's.
    const std::string ent = ReadBytes(dir.File("d.ent"));
    EXPECT_NE(ent.find("+IDR_MAIN+Fold\"\xA4\"Fold\"\xA4\"\"\xA4\"1,0\""), std::string::npos);
    EXPECT_NE(ent.find("+IDR_MAIN+AF\"\xA4\"AF\"\xA4\"\"\xA4\"2,1,2\""), std::string::npos);
    EXPECT_NE(ent.find("+STRINGTABLE+Open\"\xA4\"Open\"\xA4\"\"\xA4\"1,0\""), std::string::npos);

    Reopen();
    Translate("Fold", "Plier");
    Translate("AF", "BG");
    Translate("Open", "Ouvrir");
    const std::string out = Generate();
    EXPECT_NE(out.find("POPUP \"&Plier\""), std::string::npos) << out;
    EXPECT_NE(out.find("MENUITEM \"Plier\", 1"), std::string::npos) << out; // none stays none
    EXPECT_NE(out.find("MENUITEM \"B&G\", 2"), std::string::npos) << out;
    EXPECT_NE(out.find("MENUITEM \"&BG\", 3"), std::string::npos) << out;
    EXPECT_NE(out.find("MENUITEM \"B&G\", 4"), std::string::npos) << out;
    EXPECT_NE(out.find("1 \"&Ouvrir\""), std::string::npos) << out; // the string tables share a name
    EXPECT_NE(out.find("2 \"Ouvrir\""), std::string::npos) << out;

    // The translator's choice for one occurrence is that occurrence's.
    ContextEntry* fold = ContextDictionary::FindEntry(*doc.Context()->FindFile(source), "IDR_MAIN+Fold");
    fold->SetShortcutOf(1, 3, fold->DistinctOccurrences());
    Reopen();
    EXPECT_NE(Generate().find("MENUITEM \"Pl&ier\", 1"), std::string::npos);
}

TEST_F(Compiler, AnAccessKeyNeverLandsOnABlankAQuoteAnEscapeOrTheAccelerator)
{
    Start(Crlf({"IDR_MAIN MENU", "BEGIN", "    POPUP \"&File\"", "    BEGIN", "        MENUITEM \"Ad&d\", 1",
                "        MENUITEM \"&Zoom\\tCtrl+Z\", 2", "        MENUITEM \"&Quote\", 3",
                "        MENUITEM \"Ta&b\", 4", "    END", "END"}));
    Translate("Add", "Ad Manifest");          // the key's index is the blank
    Translate("Zoom\\tCtrl+Z", "Z\\tCtrl+Z"); // past the text, into the accelerator
    Translate("Quote", "\"Q\"");              // on a quote
    Translate("Tab", "T\\nb");                // on the escape
    const std::string out = Generate();
    EXPECT_NE(out.find("MENUITEM \"Ad &Manifest\", 1"), std::string::npos) << out;
    EXPECT_NE(out.find("MENUITEM \"&Z\\tCtrl+Z\", 2"), std::string::npos) << out;
    EXPECT_NE(out.find("MENUITEM \"\"\"&Q\"\"\", 3"), std::string::npos) << out;
    EXPECT_NE(out.find("MENUITEM \"T\\n&b\", 4"), std::string::npos) << out;
}

TEST_F(Compiler, AChangedTranslationKeepsTheKeysLetter)
{
    Start(Crlf({"IDR_MAIN MENU", "BEGIN", "    MENUITEM \"&Add Manifest...\", 1", "    MENUITEM \"E&xit\", 2",
                "END"}));
    TranslateAsUser("Add Manifest", "Manifest ajouter");
    TranslateAsUser("Exit", "Quitter");
    std::string out = Generate();
    EXPECT_NE(out.find("\"M&anifest ajouter...\""), std::string::npos) << out; // its a
    EXPECT_NE(out.find("\"Q&uitter\""), std::string::npos) << out;             // no x: its place
    // And again from that translation to the next, where the same letter
    // in the same case comes first.
    TranslateAsUser("Add Manifest", "Ajouter le manifeste");
    out = Generate();
    EXPECT_NE(out.find("\"Ajouter le m&anifeste...\""), std::string::npos) << out;
}

TEST_F(Compiler, KeywordsInLiteralsAndCommentsStartNothing)
{
    Start(Crlf({"IDD_EDIT DIALOGEX 0, 0, 100, 50", "CAPTION \"Edit DLGINIT\"", "BEGIN",
                "    LTEXT \"The END of the MENU \",1,2,3,4,5", "    // LTEXT \"Commented out\",1,2,3,4,5",
                "    /* PUSHBUTTON \"Old\",2,3,4,5,6",
                "       STRINGTABLE BEGIN */ PUSHBUTTON \"New\",3,4,5,6,7", "    LTEXT \"After\",4,5,6,7,8",
                "END"}));
    EXPECT_EQ(Texts(), (std::vector<std::string>{"Edit DLGINIT", "The END of the MENU", "New", "After"}));
    for (const char* key : {"IDD_EDIT+Edit DLGINIT", "IDD_EDIT+New", "IDD_EDIT+After"})
        EXPECT_NE(Entry(key), nullptr) << key;
    // The comments are copied as they are.
    Translate("New", "Nouveau");
    const std::string out = Generate();
    EXPECT_NE(out.find("    /* PUSHBUTTON \"Old\",2,3,4,5,6\r\n       STRINGTABLE BEGIN */ PUSHBUTTON "
                       "\"Nouveau\",3,4,5,6,7\r\n"),
              std::string::npos)
        << out;
}

TEST_F(Compiler, ATrailingCommaDoesNotSwallowTheNextStatement)
{
    Start(Crlf({"IDD_SUM DIALOGEX 0, 0, 200, 120", "BEGIN", "    RTEXT \"%s line(s)\",IDC_SUM,96,42,52,8,",
                "    GROUPBOX \"Re-indent all?\",IDC_G,7,60,182,56", "    CONTROL \"Go\",IDC_GO,\"Button\",",
                "                    BS_PUSHBUTTON,7,7,50,14", "END"}));
    EXPECT_EQ(Texts(), (std::vector<std::string>{"%s line(s)", "Re-indent all?", "Go"}));
}

TEST_F(Compiler, CombosAreOnlyInDlginitAndDataIsNoText)
{
    Start(Crlf({"1 VERSIONINFO",
                " FILEVERSION 1,0,0,1",
                "BEGIN",
                "    BLOCK \"VarFileInfo\"",
                "    BEGIN",
                "        VALUE \"Translation\", 0x403, 1200",
                "    END",
                "END",
                "1 24 \"res/app.manifest\"",
                "IDR_GIF GIF \"res/anim.gif\"",
                "IDR_BIN RCDATA \"data.bin\"",
                "IDD_X 240",
                "{",
                "    \"\\000\",",
                "}",
                "IDI_APP ICON \"res\\\\app.ico\"",
                "IDD_X DIALOG 0, 0, 10, 10",
                "BEGIN",
                "    COMBOBOX IDC_C,1,2,3,4",
                "END",
                "IDD_X DLGINIT",
                "BEGIN",
                "    IDC_C, 0x403, 6, 0",
                "0x6e4f, 0x2065, 0x0031, ",
                "    IDC_D, 0x1234, 2, 0",
                "0x0000, ",
                "    0",
                "END"}));
    EXPECT_TRUE(reporter.ids.empty()) << reporter.texts.front();
    EXPECT_EQ(Texts(), (std::vector<std::string>{"One 1"}));
    EXPECT_NE(Entry("IDD_X+One 1"), nullptr);
}

TEST_F(Compiler, ACaptionsAmpersandIsACharacter)
{
    Start(Crlf({"IDD_C DIALOG 0, 0, 10, 10", "CAPTION \"Copy/&Move\"", "BEGIN",
                "    LTEXT \"Copy/&&Move\",1,2,3,4,5", "END"}));
    EXPECT_EQ(Texts(), (std::vector<std::string>{"Copy/&Move"}));
    Translate("Copy/&Move", "Copier/&D\xE9placer");
    const std::string out = Generate();
    EXPECT_NE(out.find("CAPTION \"Copier/&D\\351placer\""), std::string::npos) << out;
    EXPECT_NE(out.find("LTEXT \"Copier/&&D\\351placer\""), std::string::npos) << out;
}

TEST_F(Compiler, AComboStringHasTheFormOfALiteralsText)
{
    // C:\ in a combo box is the text of the literal "C:\\".
    Start(Crlf({"IDD_Y DIALOG 0, 0, 10, 10", "BEGIN", "    LTEXT \"C:\\\\\",1,2,3,4,5", "END",
                "IDD_X DLGINIT", "BEGIN", "    IDC_C, 0x403, 4, 0", "0x3a43, 0x005c, ", "    0", "END"}));
    EXPECT_EQ(Texts(), (std::vector<std::string>{"C:\\\\"}));
    EXPECT_EQ(Entry("IDD_X+C:\\\\")->itemReference, "IDC_C");
    // A translation typed with an escaped backslash is one backslash byte.
    Translate("C:\\\\", "D:\\\\\\t");
    const std::string out = Generate();
    EXPECT_NE(out.find("LTEXT \"D:\\\\\\t\""), std::string::npos) << out;
    EXPECT_NE(out.find("IDC_C, 0x403, 5, 0\r\n0x3a44, 0x095c, \"\\000\""), std::string::npos) << out;
}

TEST_F(Compiler, ADictionaryThatKeptAComboByItsBytesKeepsItsTranslation)
{
    Start(Crlf({"IDD_X DIALOG 0, 0, 10, 10", "BEGIN", "END", "IDD_X DLGINIT", "BEGIN",
                "    IDC_C, 0x403, 4, 0", "0x3a43, 0x005c, ", "    0", "END"}));
    // As a dictionary made before held it: the bytes, and a translation by
    // the same rule.
    doc.General()->RemoveText("C:\\\\");
    doc.General()->AddText("C:\\", "D:\\");
    Reopen();
    EXPECT_NE(Generate().find("IDC_C, 0x403, 4, 0\r\n0x3a44, 0x005c, "), std::string::npos);
    Extract();
    EXPECT_EQ(*doc.General()->FindTranslation("C:\\\\"), "D:\\\\");
}

TEST_F(Compiler, KeywordsCountInAnyCase)
{
    Start(Crlf({"ID_APP menu", "begin", "    Popup \"&File\"", "    Begin", "        menuitem \"E&xit\", 1",
                "    end", "end", "stringtable", "begin", "    1 \"Hello\"", "end"}));
    EXPECT_EQ(Texts(), (std::vector<std::string>{"File", "Exit", "Hello"}));
    EXPECT_NE(Entry("ID_APP+Exit"), nullptr);
    EXPECT_NE(Entry("STRINGTABLE+Hello"), nullptr);
}

TEST_F(Compiler, AnEightBitDictionaryRecordsItsCodePage)
{
    const std::string script = dir.File("ru.rc");
    WriteBytes(script, Crlf({"#pragma code_page(1251)", "STRINGTABLE", "BEGIN",
                             "    1 \"\xCE\xF2\xEA\xF0\xFB\xF2\xFC\"", "END"}));
    ASSERT_TRUE(doc.CreateDictionary("ru", dir.Path().string(), "", "", false, 1251));
    EXPECT_TRUE(doc.RecordsCodePages());
    EXPECT_EQ(doc.OriginalsCodePage(), 1251);
    ASSERT_EQ(InsertScript(*doc.Files(), script, dir.File("out.rc"), {}).message, 0);
    ExtractScripts(doc, {script}, nullptr, nullptr, &reporter);
    ASSERT_TRUE(doc.Save());
    EXPECT_NE(ReadBytes(dir.File("ru.fil")).find("\";\"1251\"\r\n"), std::string::npos);

    // Opened again, in any program, it reads its texts in that code page.
    doc.Close();
    CTrelvarDoc again;
    ASSERT_TRUE(again.OnOpenDocument(dir.File("ru.dic")));
    EXPECT_EQ(again.OriginalsCodePage(), 1251);
    EXPECT_EQ(Originals(*again.General()), (std::vector<std::string>{"\xCE\xF2\xEA\xF0\xFB\xF2\xFC"}));
    EXPECT_TRUE(reporter.ids.empty());

    // Originals and translations in two code pages, and the field a reader
    // of two folders passes over.
    EXPECT_EQ(FileList::ParseCodePages("1252/1251"), std::make_pair(1252, 1251));
    EXPECT_EQ(FileList::ParseCodePages("cp1251"), std::make_pair(0, 0));
    EXPECT_EQ(FileList::FormatCodePages(1252, 1251), "1252/1251");
}

TEST_F(Compiler, AControlAloneOnItsLineTakesItsFieldsFromTheNext)
{
    // The fields on the next line: an image has no text, a check box has
    // one; every line is copied byte for byte.
    const std::string script = Crlf({"IDD_A DIALOGEX 0, 0, 100, 50", "BEGIN", "    CONTROL",
                                     "                    IDB_LOGO,IDC_STATIC,\"Static\",SS_BITMAP,7,7,20,20",
                                     "    LTEXT           \"Hello\",IDC_STATIC,30,7,50,8", "    CONTROL",
                                     "        \"Check\",IDC_C,\"Button\",BS_AUTOCHECKBOX,7,30,50,10", "END"});
    Start(script);
    EXPECT_EQ(Texts(), (std::vector<std::string>{"Hello", "Check"}));
    Translate("Hello", "Salut");
    Translate("Check", "Cocher");
    std::string expected = script;
    Replace(expected, "\"Hello\"", "\"Salut\"");
    Replace(expected, "\"Check\"", "\"Cocher\"");
    EXPECT_EQ(Generate(), expected);
}

TEST_F(Compiler, TranslationsAreWrittenAsTheScriptWritesItsTexts)
{
    // A script of a known code page that writes its accented letters as
    // they are gets the translation's the same way; one whose texts are
    // all ASCII keeps the escapes, which no editor can misread.
    const std::string raw =
        Crlf({"#pragma code_page(1252)", "IDD_A DIALOGEX 0, 0, 100, 50", "BEGIN",
              "    LTEXT \"Caf\xE9\",IDC_STATIC,7,7,50,8", "    LTEXT \"Open\",IDC_O,7,20,50,8",
              "    // \"\xE9t\xE9\" in a comment", "END"});
    Start(raw);
    Translate("Open", "Ouvrir l'\xE9t\xE9");
    std::string expected = raw;
    Replace(expected, "\"Open\"", "\"Ouvrir l'\xE9t\xE9\"");
    EXPECT_EQ(Generate(), expected);
}

TEST_F(Compiler, AsciiTextsKeepEscapesForTheTranslations)
{
    const std::string ascii =
        Crlf({"#pragma code_page(1252)", "IDD_A DIALOGEX 0, 0, 100, 50", "BEGIN",
              "    LTEXT \"Open\",IDC_O,7,20,50,8", "    // \"\xE9t\xE9\" in a comment", "END"});
    Start(ascii);
    Translate("Open", "Ouvrir l'\xE9t\xE9");
    std::string expected = ascii;
    Replace(expected, "\"Open\"", "\"Ouvrir l'\\351t\\351\"");
    EXPECT_EQ(Generate(), expected);
}
