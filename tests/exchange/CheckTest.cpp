// The checks of a translated result: each with the smallest script that
// triggers it and one that must not, and pseudo-translation passing them.
#include "TestSupport.h"
#include "dictionary/CTrelvarDoc.h"
#include "dictionary/ContextDictionary.h"
#include "dictionary/GeneralDictionary.h"
#include "dictionary/PseudoTranslation.h"
#include "dictionary/ScriptInsertion.h"
#include "engine/ScriptRuns.h"
#include "exchange/Spelling.h"
#include "exchange/TranslationCheck.h"
#include "preview/model/PreviewDialogInfo.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

const char* const kScript = "IDR_MENU MENU\r\n"
                            "BEGIN\r\n"
                            "    POPUP \"&File\"\r\n"
                            "    BEGIN\r\n"
                            "        MENUITEM \"&Open...\\tCtrl+O\", 1\r\n" // line 5
                            "        MENUITEM \"&Save\", 2\r\n"
                            "        MENUITEM \"&Options\", 3\r\n"
                            "        MENUITEM \"&Other\", 4\r\n"
                            "    END\r\n"
                            "    POPUP \"&Edit\"\r\n" // line 10
                            "    BEGIN\r\n"
                            "        MENUITEM \"&Undo\", 5\r\n"
                            "    END\r\n"
                            "END\r\n"
                            "\r\n"
                            "IDD_MAIN DIALOGEX 0, 0, 100, 40\r\n"
                            "CAPTION \"Main\"\r\n"
                            "BEGIN\r\n"
                            "    LTEXT \"Name:\",1,2,2,40,8\r\n" // line 19
                            "    LTEXT \"Folder:\",2,2,12,40,8\r\n"
                            "    PUSHBUTTON \"OK\",3,2,24,30,12\r\n"
                            "END\r\n"
                            "\r\n"
                            "STRINGTABLE\r\n"
                            "BEGIN\r\n"
                            "    1 \"%d files in %s\"\r\n" // line 26
                            "    2 \"Error %1 in %2\"\r\n"
                            "    3 \"Ready\"\r\n"
                            "    4 \"Line one\\nLine two\"\r\n" // line 29
                            "    5 \"Name\\tValue\"\r\n"
                            "    6 \"See https://example.org/help.html\"\r\n"
                            "    7 \"res\\\\taskbar.gif\"\r\n"
                            "END\r\n";

struct Checked
{
    TempDir dir;
    CTrelvarDoc doc;
    std::string script = dir.File("app.rc");

    Checked()
    {
        WriteBytes(script, kScript);
        EXPECT_TRUE(doc.CreateDictionary("d", dir.Path().string(), dir.Path().string(), dir.Path().string()));
        EXPECT_EQ(InsertScript(*doc.Files(), script, dir.File("out.rc"), {}).message, 0);
        ExtractScripts(doc, {script}, nullptr, nullptr, nullptr);
    }
    void Translate(const std::string& original, const std::string& translation)
    {
        ASSERT_NE(doc.General()->FindTranslation(original), nullptr) << original;
        doc.General()->SetTranslation(original, translation);
    }
    ContextEntry& Entry(const std::string& key)
    {
        return *ContextDictionary::FindEntry(*doc.Context()->FindFile(script), key);
    }
    // The findings as "LINE kind" and their messages.
    std::vector<std::string> Run(FitMeasure* fit = nullptr)
    {
        std::vector<std::string> lines;
        for (const CheckFinding& f : CheckTranslations(doc, {}, fit)) {
            lines.push_back(std::to_string(f.line) + " " + CheckKindName(f.kind) +
                            (f.warning ? " warning" : ""));
            messages.push_back(FormatFinding(f));
        }
        return lines;
    }
    std::vector<std::string> messages;
};

using Lines = std::vector<std::string>;

// Says which controls do not fit: those whose translation is longer than
// the given length.
class LengthMeasure : public FitMeasure
{
public:
    std::vector<int> TooLarge(const PreviewDialogInfo& dialog) override
    {
        std::vector<int> out;
        for (const auto& c : dialog.controls) {
            if (c->translated && c->displayText.size() > 8)
                out.push_back(c->index);
        }
        return out;
    }
};

} // namespace

TEST(Check, ACleanTranslationHasNoFinding)
{
    Checked c;
    c.Translate("File", "Fichier");
    c.Translate("Open...\\tCtrl+O", "Ouvrir...\\tCtrl+O");
    // A clash the original already has ("&Options", "&Other") is not the
    // translator's.
    c.Translate("Options", "Options");
    // The colon of the original comes back after the translation, unless
    // the translation has one of its own: never two.
    c.Translate("Folder", "Dossier :");
    c.Translate("Name", "Nom");
    c.Translate("Error %1 in %2", "Erreur %2 dans %1");
    c.Translate("%d files in %s", "%d fichiers dans %s");
    EXPECT_EQ(c.Run(), Lines{});
    GenerateScripts(c.doc, {{c.script, c.dir.File("out.rc")}}, nullptr, nullptr, nullptr);
    const std::string generated = ReadBytes(c.dir.File("out.rc"));
    EXPECT_NE(generated.find("\"Dossier :\",2"), std::string::npos);
    EXPECT_NE(generated.find("\"Nom:\",1"), std::string::npos);
}

TEST(Check, EachKindIsFoundOnItsLine)
{
    Checked c;
    c.Translate("Save", "Ouvrir tout"); // key O, as Open
    c.Translate("Undo", "Annuler");
    c.Entry("IDR_MENU+Undo").shortcut = -1; // key lost
    c.Translate("Edit", "Edition");
    c.Translate("Ready", "Prêt");
    c.Entry("IDR_MENU+Edit").shortcut = 3; // moved: no finding
    c.Translate("Open...\\tCtrl+O", "Ouvrir...\\tCtrl+P");
    c.Translate("%d files in %s", "%s fichiers");
    c.Translate("Error %1 in %2", "Erreur %1");
    c.Translate("Name", " Nom");
    c.Translate("Folder", "Dossier");
    c.Entry("IDD_MAIN+Folder").shortcut = 1; // key added
    c.Translate("OK", "D'accord...");
    EXPECT_EQ(c.Run(),
              (Lines{"5 accelerator", "6 access-key-clash", "12 access-key", "19 punctuation warning",
                     "20 access-key warning", "21 punctuation warning", "26 placeholder", "27 placeholder"}));
    EXPECT_EQ(c.messages[1], c.script + ":6: IDR_MENU: the access key of \"&Ouvrir tout\" is also the key of "
                                        "\"&Ouvrir...\\tCtrl+P\" (line 5) [access-key-clash]");
    EXPECT_EQ(c.messages[6], c.script +
                                 ":26: STRINGTABLE: placeholders differ: \"%d %s\" in \"%d files in %s\", "
                                 "\"%s\" in \"%s fichiers\" [placeholder]");
    EXPECT_EQ(c.messages[3].substr(c.script.size()),
              ":19: IDD_MAIN: warning: leading blanks differ: \"Name:\" and \" Nom:\" [punctuation]");
}

TEST(Check, AKeyPlacedWhereNoKeyCanGoIsFound)
{
    Checked c;
    c.Translate("Save", "Tout enregistrer");
    c.Entry("IDR_MENU+Save").shortcut = 5; // before the blank
    c.Translate("Open...\\tCtrl+O", "Ouvrir...\\tCtrl+O");
    c.Entry("IDR_MENU+Open...\\tCtrl+O").shortcut = 12; // in the accelerator
    EXPECT_EQ(c.Run(), (Lines{"5 access-key", "6 access-key"}));
    EXPECT_NE(c.messages[0].find("was placed inside the accelerator (position 12)"), std::string::npos)
        << c.messages[0];
    EXPECT_NE(c.messages[1].find("\"Tout &enregistrer\" was placed before a blank (position 5)"),
              std::string::npos)
        << c.messages[1];
}

TEST(Check, EscapesAndAddressesAreReadAsTheScriptReadsThem)
{
    Checked c;
    c.Translate("Line one\\nLine two", "Ligne un, ligne deux"); // the line break lost
    // A tab in a string table is no accelerator; an escaped backslash is one
    // character, never the start of "\t".
    c.Translate("Name\\tValue", "Nom\\tValeur de la cl\xC3\xA9");
    c.Translate("See https://example.org/help.html", "Voir https://example.org/aide.html");
    c.Translate("res\\\\taskbar.gif", "res\\\\taskbar.gif");
    EXPECT_EQ(c.Run(), (Lines{"29 escape", "31 url-or-file warning"}));
    EXPECT_NE(c.messages[0].find("escapes differ: \\n in \"Line one\\nLine two\""), std::string::npos)
        << c.messages[0];
    EXPECT_NE(c.messages[1].find("\"https://example.org/help.html\""), std::string::npos) << c.messages[1];

    // An escape added is as wrong as one lost; the same escapes elsewhere
    // are right.
    c.messages.clear();
    c.Translate("Line one\\nLine two", "Ligne\\tun\\nligne deux");
    c.Translate("See https://example.org/help.html", "Voir\\nhttps://example.org/help.html");
    EXPECT_EQ(c.Run(), (Lines{"29 escape", "31 escape"}));

    // Pseudo-translation keeps the escaped backslash, the address and the
    // file name whole.
    EXPECT_NE(PseudoTranslate("res\\\\taskbar.gif", 30, 1252).find("res\\\\taskbar.gif"), std::string::npos);
    EXPECT_NE(
        PseudoTranslate("See https://example.org/help.html", 30, 1252).find("https://example.org/help.html"),
        std::string::npos);
}

TEST(Check, TextsTooLargeAreFoundWhereTheControlIs)
{
    Checked c;
    c.Translate("Folder", "Le dossier de travail");
    c.Translate("OK", "D'accord");
    LengthMeasure measure;
    EXPECT_EQ(c.Run(&measure), Lines{"20 fit warning"});
    EXPECT_NE(c.messages[0].find("\"Le dossier de travail:\" does not fit its control"), std::string::npos)
        << c.messages[0];
    // Without a measure, nothing is measured.
    EXPECT_EQ(c.Run(), Lines{});
}

TEST(Check, PseudoTranslationPassesEveryCheckButFit)
{
    if (CorpusDir().empty())
        GTEST_SKIP() << "the corpus of real scripts is not available";
    const std::vector<std::string> scripts = EveryNthCorpusScript(25);
    TempDir dir;
    CTrelvarDoc doc;
    ASSERT_TRUE(doc.CreateDictionary("p", dir.Path().string(), dir.Path().string(), dir.Path().string()));
    for (std::size_t i = 0; i < scripts.size(); ++i)
        ASSERT_EQ(
            InsertScript(*doc.Files(), scripts[i], dir.File("out/" + std::to_string(i) + ".rc"), {}).message,
            0);
    ExtractScripts(doc, scripts, nullptr, nullptr, nullptr);
    ASSERT_GT(PseudoTranslateDictionary(*doc.General(), *doc.Context(), 30, doc.TranslationsCodePage()), 500);
    std::vector<std::string> findings;
    for (const CheckFinding& f : CheckTranslations(doc, {}, nullptr))
        findings.push_back(FormatFinding(f));
    EXPECT_EQ(findings.size(), 0u) << findings.front();
}

TEST(Spelling, OnlyWordsAreSpelt)
{
    const auto words = [](std::string_view text) {
        std::vector<std::string> out;
        for (const auto& [at, word] : SpellingWords(text))
            out.push_back(word);
        return out;
    };
    // Access-key marks stay inside their word; escapes, placeholders and
    // words with digits are no words.
    EXPECT_EQ(words("&Ouvrir le fi&chier\\tCtrl+O"),
              (std::vector<std::string>{"Ouvrir", "le", "fichier", "Ctrl", "O"}));
    EXPECT_EQ(words("%s fichier(s) sur %1!d!\\n"), (std::vector<std::string>{"fichier", "s", "sur"}));
    EXPECT_EQ(words("Win32 l'\xC3\xA9t\xC3\xA9 - rendez-vous && co"),
              (std::vector<std::string>{"l'\xC3\xA9t\xC3\xA9", "rendez-vous", "co"}));
    EXPECT_EQ(SpellingWords("ab cd").at(1).first, 3u);
}

TEST(Spelling, HunspellFindsMisspeltWordsOfTranslations)
{
    std::string error;
    auto speller = OpenHunspell("en_US", error);
    if (!speller)
        GTEST_SKIP() << error;
    EXPECT_TRUE(speller->Correct("Cancel"));
    EXPECT_FALSE(speller->Correct("Cancle"));
    const auto suggestions = speller->Suggestions("Cancle");
    EXPECT_NE(std::find(suggestions.begin(), suggestions.end(), "Cancel"), suggestions.end());
    EXPECT_FALSE(OpenHunspell("xx_XX", error));
    EXPECT_NE(error.find("no spelling dictionary for xx_XX"), std::string::npos);
    EXPECT_FALSE(OpenHunspell("../../etc/passwd", error));
}

TEST(Check, PrintfConversionsInAnotherOrderAreAnError)
{
    Checked c;
    // The same conversions, reordered: printf would read the arguments in
    // the wrong order ("%s" of an int).
    c.Translate("%d files in %s", "%s fichiers : %d");
    const auto findings = CheckTranslations(c.doc, {}, nullptr);
    const auto found = std::find_if(findings.begin(), findings.end(), [](const CheckFinding& f) {
        return f.kind == CheckKind::Placeholder && f.line == 26;
    });
    ASSERT_NE(found, findings.end());
    EXPECT_FALSE(found->warning);
    // FormatMessage inserts may move.
    c.Translate("%d files in %s", "%d fichiers dans %s");
    c.Translate("Error %1 in %2", "Dans %2 : erreur %1");
    for (const CheckFinding& f : CheckTranslations(c.doc, {}, nullptr))
        EXPECT_NE(f.kind, CheckKind::Placeholder) << FormatFinding(f);
}
