// Aligning a script with the copy a translator made by hand: the dictionary
// then generates the copy's texts again, text by text, and says what it
// could not pair or hold.
#include "TestSupport.h"
#include "dictionary/CTrelvarDoc.h"
#include "dictionary/Codec.h"
#include "dictionary/GeneralDictionary.h"
#include "dictionary/ScriptInsertion.h"
#include "engine/ScriptRuns.h"
#include "exchange/ScriptAlignment.h"
#include "exchange/TextOccurrences.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <iostream>
#include <map>
#include <unordered_map>

namespace {

namespace fs = std::filesystem;

// The texts of a script by their place, as "text|key".
std::unordered_map<std::string, std::string> TextsByPlace(const std::string& path, int codePage)
{
    std::vector<TextOccurrence> texts;
    EXPECT_TRUE(ReadTextOccurrences(path, codePage, codePage, nullptr, texts));
    const std::vector<std::string> places = TextPlaces(texts);
    std::unordered_map<std::string, std::string> byPlace;
    for (std::size_t i = 0; i < texts.size(); ++i)
        byPlace.emplace(places[i], texts[i].decoded + '|' + std::to_string(texts[i].decodedShortcut));
    return byPlace;
}

// UTF-8 of the basic plane as a UTF-16 LE file with its byte-order mark.
std::string Utf16Le(const std::string& utf8)
{
    std::string out = "\xFF\xFE";
    for (std::size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        unsigned c = b;
        int more = 0;
        if (b >= 0xE0) {
            c = b & 0x0F;
            more = 2;
        } else if (b >= 0xC0) {
            c = b & 0x1F;
            more = 1;
        }
        for (++i; more-- > 0; ++i)
            c = (c << 6) | (static_cast<unsigned char>(utf8[i]) & 0x3F);
        out += static_cast<char>(c & 0xFF);
        out += static_cast<char>(c >> 8);
    }
    return out;
}

struct Aligned
{
    AlignmentSummary summary;
    std::string generated; // the path of the script generated after
    int codePage = 0;
};

// Aligns translated with original in a new dictionary (Unicode, or 8-bit in
// codePage) and generates the original's translated copy.
Aligned Align(const TempDir& dir, const std::string& original, const std::string& translated, int codePage,
              bool replace = false, const std::function<void(CTrelvarDoc&)>& before = {})
{
    Aligned result;
    CTrelvarDoc doc;
    const bool unicode = codePage == kUtf8CodePage;
    EXPECT_TRUE(doc.CreateDictionary("d", dir.Path().string(), dir.Path().string(), dir.File("out/"), unicode,
                                     unicode ? 0 : codePage));
    result.generated = dir.File("out/" + fs::path(original).filename().string());
    EXPECT_EQ(InsertScript(*doc.Files(), original, result.generated, {}).message, 0);
    ExtractScripts(doc, {original}, nullptr, nullptr, nullptr);
    if (before)
        before(doc);
    result.summary = AlignTranslatedScript(doc, original, translated, replace);
    GenerateScripts(doc, {{original, result.generated}}, nullptr, nullptr, nullptr);
    result.codePage = doc.TranslationsCodePage();
    return result;
}

// The texts of the translated copy the generated script gives back, and
// the places where it does not ("place: wanted / generated").
int Identical(const Aligned& aligned, const std::string& translated,
              std::vector<std::string>* differences = nullptr)
{
    const auto wanted = TextsByPlace(translated, aligned.codePage);
    const auto got = TextsByPlace(aligned.generated, aligned.codePage);
    int same = 0;
    for (const auto& [place, text] : wanted) {
        const auto found = got.find(place);
        if (found == got.end())
            continue;
        if (found->second == text)
            ++same;
        else if (differences)
            differences->push_back(place + ": " + text + " / " + found->second);
    }
    return same;
}

const char* const kOriginal = "#include \"resource.h\"\r\n"
                              "IDD_MAIN DIALOGEX 0, 0, 200, 100\r\n"
                              "CAPTION \"Settings\"\r\n"
                              "BEGIN\r\n"
                              "    LTEXT \"&Name:\",IDC_STATIC,7,7,50,8\r\n"
                              "    EDITTEXT IDC_NAME,60,7,100,12\r\n"
                              "    LTEXT \"&Folder:\",IDC_STATIC,7,22,50,8\r\n"
                              "    PUSHBUTTON \"&Browse...\",IDC_BROWSE,160,22,30,12\r\n"
                              "    DEFPUSHBUTTON \"OK\",IDOK,90,80,50,14\r\n"
                              "    PUSHBUTTON \"Cancel\",IDCANCEL,145,80,50,14\r\n"
                              "END\r\n"
                              "IDR_MAIN MENU\r\n"
                              "BEGIN\r\n"
                              "    POPUP \"&File\"\r\n"
                              "    BEGIN\r\n"
                              "        MENUITEM \"&Open\\tCtrl+O\", ID_OPEN\r\n"
                              "        MENUITEM \"E&xit\", ID_EXIT\r\n"
                              "    END\r\n"
                              "    POPUP \"&Edit\"\r\n"
                              "    BEGIN\r\n"
                              "        MENUITEM \"&Open\", ID_OPEN_AGAIN\r\n"
                              "        MENUITEM \"Cancel\", ID_CANCEL_EDIT\r\n"
                              "    END\r\n"
                              "END\r\n"
                              "STRINGTABLE\r\n"
                              "BEGIN\r\n"
                              "    IDS_READY \"Ready\"\r\n"
                              "    IDS_OPEN \"Open\"\r\n"
                              "    IDS_CANCEL \"Cancel\"\r\n"
                              "END\r\n";

// The same script translated: the controls in another order, the strings
// too, the menu's keys on other letters.
const char* const kGerman = "#include \"resource.h\"\r\n"
                            "IDD_MAIN DIALOGEX 0, 0, 220, 100\r\n"
                            "CAPTION \"Einstellungen\"\r\n"
                            "BEGIN\r\n"
                            "    LTEXT \"&Name:\",IDC_STATIC,7,7,50,8\r\n"
                            "    EDITTEXT IDC_NAME,60,7,100,12\r\n"
                            "    LTEXT \"&Ordner:\",IDC_STATIC,7,22,50,8\r\n"
                            "    PUSHBUTTON \"Abbrechen\",IDCANCEL,145,80,50,14\r\n"
                            "    DEFPUSHBUTTON \"OK\",IDOK,90,80,50,14\r\n"
                            "    PUSHBUTTON \"&Durchsuchen...\",IDC_BROWSE,160,22,30,12\r\n"
                            "END\r\n"
                            "IDR_MAIN MENU\r\n"
                            "BEGIN\r\n"
                            "    POPUP \"&Datei\"\r\n"
                            "    BEGIN\r\n"
                            "        MENUITEM \"\\326&ffnen\\tStrg+O\", ID_OPEN\r\n"
                            "        MENUITEM \"&Beenden\", ID_EXIT\r\n"
                            "    END\r\n"
                            "    POPUP \"&Bearbeiten\"\r\n"
                            "    BEGIN\r\n"
                            "        MENUITEM \"Erneut \\326ffnen\", ID_OPEN_AGAIN\r\n"
                            "        MENUITEM \"Abbruch\", ID_CANCEL_EDIT\r\n"
                            "    END\r\n"
                            "END\r\n"
                            "STRINGTABLE\r\n"
                            "BEGIN\r\n"
                            "    IDS_CANCEL \"Abbrechen\"\r\n"
                            "    IDS_OPEN \"\\326ffnen\"\r\n"
                            "    IDS_READY \"Bereit\"\r\n"
                            "END\r\n";

TEST(Alignment, TextsPairByTheirIdentifiersAndRegenerateTheCopy)
{
    TempDir dir;
    WriteBytes(dir.File("app.rc"), kOriginal);
    WriteBytes(dir.File("de.rc"), kGerman);
    const Aligned aligned = Align(dir, dir.File("app.rc"), dir.File("de.rc"), 1252);
    EXPECT_TRUE(aligned.summary.problems.empty()) << aligned.summary.problems.front();
    EXPECT_EQ(aligned.summary.unmatched, 0);
    // Every text of the copy comes back from the dictionary: "Cancel" is
    // "Abbrechen" in the dialog and the strings, "Abbruch" in the menu (its
    // own); "&Open" has its key per occurrence.
    std::vector<std::string> differences;
    EXPECT_EQ(Identical(aligned, dir.File("de.rc"), &differences), 15);
    EXPECT_TRUE(differences.empty()) << differences.front();
    EXPECT_EQ(aligned.summary.aligned, 15);
    EXPECT_EQ(aligned.summary.inContext, 2); // "Cancel" and "Open" in the menu
    EXPECT_EQ(AlignmentSummaryLine(aligned.summary),
              "15 texts aligned, 12 general translations, 2 in context, 0 unmatched");
}

TEST(Alignment, WhatPairsWithNothingIsReportedAndTheRestIsKept)
{
    TempDir dir;
    WriteBytes(dir.File("app.rc"), kOriginal);
    std::string german = kGerman;
    // A control less, a resource the original lacks, one text translated
    // two ways in one resource.
    const auto erase = [&](const std::string& line) { german.erase(german.find(line), line.size()); };
    erase("    PUSHBUTTON \"&Durchsuchen...\",IDC_BROWSE,160,22,30,12\r\n");
    german += "IDR_EXTRA MENU\r\nBEGIN\r\n    MENUITEM \"Extra\", ID_EXTRA\r\nEND\r\n";
    german.replace(german.find("\"OK\",IDOK"), 9, "\"Gut\",IDOK");
    std::string original = kOriginal;
    original.replace(original.find("\"Cancel\",IDCANCEL"), 17, "\"OK\",IDCANCEL");
    WriteBytes(dir.File("app.rc"), original);
    WriteBytes(dir.File("de.rc"), german);
    const Aligned aligned = Align(dir, dir.File("app.rc"), dir.File("de.rc"), 1252);
    const std::string all = [&] {
        std::string joined;
        for (const std::string& p : aligned.summary.problems)
            joined += p + '\n';
        return joined;
    }();
    EXPECT_NE(all.find("app.rc:8: IDD_MAIN: \"Browse\" has no counterpart in"), std::string::npos) << all;
    EXPECT_NE(all.find("de.rc:3: IDD_MAIN: 5 text(s) where"), std::string::npos) << all;
    EXPECT_NE(all.find("de.rc:32: IDR_EXTRA: the resource is not in"), std::string::npos) << all;
    EXPECT_NE(all.find("de.rc:8: IDD_MAIN: \"OK\" is translated \"Abbrechen\" here and \"Gut\" elsewhere"),
              std::string::npos)
        << all;
    EXPECT_EQ(aligned.summary.unmatched, 2); // "Browse..." and the second "OK"
    // What could be paired is in the dictionary all the same.
    EXPECT_NE(ReadBytes(aligned.generated).find("\"Einstellungen\""), std::string::npos);
    EXPECT_NE(ReadBytes(aligned.generated).find("\"Bereit\""), std::string::npos);
}

TEST(Alignment, KeepsTranslationsAndTextsNotToTranslateUnlessToldToReplace)
{
    TempDir dir;
    WriteBytes(dir.File("app.rc"), kOriginal);
    WriteBytes(dir.File("de.rc"), kGerman);
    const auto translateFirst = [](CTrelvarDoc& doc) {
        doc.General()->SetTranslation("Settings", "Optionen");
        doc.General()->SetDoNotTranslate("OK");
    };
    const Aligned kept = Align(dir, dir.File("app.rc"), dir.File("de.rc"), 1252, false, translateFirst);
    const std::string keptScript = ReadBytes(kept.generated);
    EXPECT_NE(keptScript.find("CAPTION \"Optionen\""), std::string::npos);
    EXPECT_GE(kept.summary.kept, 1);
    TempDir again;
    WriteBytes(again.File("app.rc"), kOriginal);
    WriteBytes(again.File("de.rc"), kGerman);
    const Aligned replaced =
        Align(again, again.File("app.rc"), again.File("de.rc"), 1252, true, translateFirst);
    EXPECT_NE(ReadBytes(replaced.generated).find("CAPTION \"Einstellungen\""), std::string::npos);
}

TEST(Alignment, AUtf16CopyFillsAUnicodeDictionaryOfAnEightBitOriginal)
{
    TempDir dir;
    const std::string original = "IDD_A DIALOG 0, 0, 100, 50\r\nCAPTION \"Share\"\r\nBEGIN\r\n"
                                 "    LTEXT \"&Service:\",IDC_STATIC,7,7,50,8\r\n"
                                 "    COMBOBOX IDC_LIST,7,20,50,40\r\nEND\r\n"
                                 "IDD_A DLGINIT\r\nBEGIN\r\n    IDC_LIST, 0x403, 4, 0\r\n0x6e4f, 0x0065, \r\n"
                                 "    IDC_LIST, 0x403, 4, 0\r\n0x7754, 0x006f, \r\n    0\r\nEND\r\n";
    WriteBytes(dir.File("app.rc"), original);
    const std::string greek = "IDD_A DIALOG 0, 0, 100, 50\r\nCAPTION \"Κοινή χρήση\"\r\nBEGIN\r\n"
                              "    LTEXT \"&Υπηρεσία:\",IDC_STATIC,7,7,50,8\r\n"
                              "    COMBOBOX IDC_LIST,7,20,50,40\r\nEND\r\n";
    WriteBytes(dir.File("el.rc"), Utf16Le(greek));
    const Aligned aligned = Align(dir, dir.File("app.rc"), dir.File("el.rc"), kUtf8CodePage);
    EXPECT_EQ(aligned.summary.aligned, 2);
    std::vector<std::string> differences;
    EXPECT_EQ(Identical(aligned, dir.File("el.rc"), &differences), 2);
    EXPECT_TRUE(differences.empty()) << differences.front();
    // The combo box's strings have no counterpart in the copy: reported.
    EXPECT_EQ(aligned.summary.unmatched, 2);
}

TEST(Alignment, ComboStringsPairByTheirControl)
{
    TempDir dir;
    const std::string dialog =
        "IDD_A DIALOG 0, 0, 100, 50\r\nBEGIN\r\n    COMBOBOX IDC_LIST,7,20,50,40\r\nEND\r\n";
    WriteBytes(dir.File("app.rc"), dialog +
                                       "IDD_A DLGINIT\r\nBEGIN\r\n    IDC_LIST, 0x403, 4, 0\r\n"
                                       "0x6e4f, 0x0065, \r\n    IDC_LIST, 0x403, 4, 0\r\n0x7754, 0x006f, \r\n"
                                       "    0\r\nEND\r\n");
    WriteBytes(dir.File("fr.rc"), dialog + "IDD_A DLGINIT\r\nBEGIN\r\n    IDC_LIST, 0x403, 3, 0\r\n"
                                           "0x6e55, \"\\000\" \r\n    IDC_LIST, 0x403, 5, 0\r\n"
                                           "0x6544, 0x7875, \"\\000\" \r\n    0\r\nEND\r\n");
    const Aligned aligned = Align(dir, dir.File("app.rc"), dir.File("fr.rc"), 1252);
    EXPECT_EQ(aligned.summary.aligned, 2);
    EXPECT_EQ(aligned.summary.unmatched, 0);
    EXPECT_EQ(Identical(aligned, dir.File("fr.rc")), 2);
}

// Every parallel pair of the corpus (the Japanese copies in l.jpn folders):
// the share of the copy's texts that generation gives back.
TEST(Alignment, CorpusCopiesComeBackFromTheDictionary)
{
    if (CorpusDir().empty())
        GTEST_SKIP() << "the corpus of real scripts is not available";
    int pairs = 0;
    int wanted = 0;
    int same = 0;
    for (const auto& entry : fs::recursive_directory_iterator(CorpusDir())) {
        const fs::path copy = entry.path();
        if (copy.parent_path().filename() != "l.jpn" || copy.extension() != ".rc")
            continue;
        const fs::path original = copy.parent_path().parent_path() / copy.filename();
        if (!fs::exists(original))
            continue;
        TempDir dir;
        const Aligned aligned = Align(dir, original.string(), copy.string(), 932);
        std::vector<std::string> differences;
        const int identical = Identical(aligned, copy.string(), &differences);
        const int paired = identical + static_cast<int>(differences.size());
        // Whatever generation does not give back was reported.
        EXPECT_LE(static_cast<int>(differences.size()), aligned.summary.unmatched) << copy;
        for (const std::string& d : differences)
            std::cout << copy.string() << ": " << d << '\n';
        wanted += paired;
        same += identical;
        ++pairs;
    }
    ASSERT_GT(pairs, 40);
    std::cout << pairs << " pairs: " << same << " of " << wanted << " paired texts given back\n";
    EXPECT_GE(same * 100, wanted * 97);
}

} // namespace
