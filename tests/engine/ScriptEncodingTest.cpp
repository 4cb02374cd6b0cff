// Scripts in their own encoding: UTF-16 and UTF-8 with or without a
// byte-order mark, and 8-bit scripts in double-byte code pages whose trail
// bytes look like quotes or backslashes. Every case runs the whole road of
// the program: create, insert, extract, save, reopen, translate, generate.
#include "TestSupport.h"
#include "dictionary/CTrelvarDoc.h"
#include "dictionary/Codec.h"
#include "dictionary/GeneralDictionary.h"
#include "dictionary/Messages.h"
#include "dictionary/ScriptInsertion.h"
#include "engine/ScriptRuns.h"
#include "engine/ScriptText.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

// A script of every kind of resource, with texts in three scripts of the
// world (UTF-8 here, converted to each form under test).
const char* const kScript = "#include \"resource.h\"\r\n"
                            "IDD_MAIN DIALOGEX 0, 0, 200, 100\r\n"
                            "CAPTION \"Größe ändern\"\r\n"
                            "BEGIN\r\n"
                            "    LTEXT           \"Привет, мир\",IDC_STATIC,7,7,80,8\r\n"
                            "    PUSHBUTTON      \"&Отмена\",IDCANCEL,7,20,50,14\r\n"
                            "    DEFPUSHBUTTON   \"OK\",IDOK,60,20,50,14\r\n"
                            "END\r\n"
                            "IDR_MENU MENU\r\n"
                            "BEGIN\r\n"
                            "    POPUP \"&Datei\"\r\n"
                            "    BEGIN\r\n"
                            "        MENUITEM \"日本語の表示\",  ID_VIEW\r\n"
                            "    END\r\n"
                            "END\r\n"
                            "STRINGTABLE\r\n"
                            "BEGIN\r\n"
                            "    IDS_ONE \"Prüfung \\\"fertig\\\"\"\r\n"
                            "END\r\n";

const std::vector<std::string> kTexts = {"Größe ändern", "Привет, мир",       "Отмена", "OK", "Datei",
                                         "日本語の表示", "Prüfung \"fertig\""};

std::string Encode(const std::string& utf8, const char* form)
{
    std::string out;
    EXPECT_TRUE(Codec(form).FromUtf8(utf8, out)) << form;
    return out;
}

std::vector<std::string> Sorted(std::vector<std::string> texts)
{
    std::sort(texts.begin(), texts.end());
    return texts;
}

class Encodings : public ::testing::Test
{
protected:
    void Create(bool unicode, int codePage = 1252)
    {
        doc.SetReporter(&reporter);
        ASSERT_TRUE(doc.CreateDictionary("d", dir.Path().string(), dir.Path().string(), dir.Path().string(),
                                         unicode));
        doc.SetEncodings(codePage, codePage);
    }
    void Insert(const std::string& bytes, const std::string& name = "app.rc")
    {
        source = dir.File(name);
        destination = dir.File("out-" + name);
        WriteBytes(source, bytes);
        ASSERT_EQ(InsertScript(*doc.Files(), source, destination, {}).message, 0);
        ExtractScripts(doc, {source}, nullptr, nullptr, &reporter);
        ASSERT_TRUE(doc.Save());
    }
    void Reopen(int codePage = 1252)
    {
        ASSERT_TRUE(doc.Save());
        ASSERT_TRUE(doc.OnOpenDocument(dir.File("d.dic")));
        doc.SetEncodings(codePage, codePage);
    }
    std::string Generate()
    {
        GenerateScripts(doc, {{source, destination}}, nullptr, nullptr, &reporter);
        return ReadBytes(destination);
    }
    std::vector<std::string> Texts() const { return Sorted(Originals(*doc.General())); }
    // Every text translated by a marker in each script of the world.
    std::vector<std::string> TranslateAll()
    {
        std::vector<std::string> translations;
        int n = 0;
        for (const auto& e : doc.General()->Texts()) {
            const std::string t = "Ü-Я-語 " + std::to_string(++n);
            doc.General()->SetTranslation(e.key, t);
            translations.push_back(t);
        }
        doc.MarkChanged(CTrelvarDoc::GeneralChanged);
        return Sorted(translations);
    }
    // The texts of a script, as a new Unicode dictionary extracts them; the
    // translations given are then generated into "again.rc".
    std::vector<std::string>
    Reextract(const std::string& path,
              const std::vector<std::pair<std::string, std::string>>& translations = {})
    {
        TempDir other;
        CTrelvarDoc second;
        second.SetReporter(&reporter);
        EXPECT_TRUE(second.CreateDictionary("e", other.Path().string(), "", "", true));
        EXPECT_EQ(InsertScript(*second.Files(), path, dir.File("again.rc"), {}).message, 0);
        ExtractScripts(second, {path}, nullptr, nullptr, &reporter);
        for (const auto& [original, translation] : translations)
            second.General()->SetTranslation(original, translation);
        if (!translations.empty())
            GenerateScripts(second, {{path, dir.File("again.rc")}}, nullptr, nullptr, &reporter);
        return Sorted(Originals(*second.General()));
    }

    TempDir dir;
    RecordingReporter reporter;
    CTrelvarDoc doc;
    std::string source;
    std::string destination;
};

struct Form
{
    const char* name;
    const char* converter;
    std::string bom;
    ScriptForm form;
};

class UnicodeScripts : public Encodings, public ::testing::WithParamInterface<Form>
{
};

TEST_P(UnicodeScripts, ExtractSaveReloadAndGenerateExactly)
{
    const Form& f = GetParam();
    const std::string bytes = f.bom + Encode(kScript, f.converter);
    const ScriptEncoding detected = DetectScriptEncoding(bytes, 1252);
    EXPECT_EQ(detected.form, f.form);
    EXPECT_EQ(detected.bom, !f.bom.empty());

    Create(true);
    Insert(bytes);
    EXPECT_EQ(Texts(), Sorted(kTexts));
    Reopen();
    EXPECT_EQ(Texts(), Sorted(kTexts));
    EXPECT_EQ(Generate(), bytes) << "an empty dictionary changes nothing";

    const std::vector<std::string> translations = TranslateAll();
    Reopen();
    const std::string generated = Generate();
    EXPECT_EQ(generated.compare(0, f.bom.size(), f.bom), 0) << "the byte-order mark stays";
    EXPECT_EQ(DetectScriptEncoding(generated, 1252).form, f.form);
    EXPECT_EQ(Reextract(destination), translations);
    EXPECT_TRUE(reporter.ids.empty()) << (reporter.texts.empty() ? "" : reporter.texts.front());
}

INSTANTIATE_TEST_SUITE_P(Forms, UnicodeScripts,
                         ::testing::Values(Form{"Utf16LeBom", "UTF-16LE", "\xFF\xFE", ScriptForm::Utf16Le},
                                           Form{"Utf16Le", "UTF-16LE", "", ScriptForm::Utf16Le},
                                           Form{"Utf16BeBom", "UTF-16BE", "\xFE\xFF", ScriptForm::Utf16Be},
                                           Form{"Utf16Be", "UTF-16BE", "", ScriptForm::Utf16Be},
                                           Form{"Utf8Bom", "UTF-8", "\xEF\xBB\xBF", ScriptForm::Utf8},
                                           Form{"Utf8", "UTF-8", "", ScriptForm::Utf8}),
                         [](const auto& info) { return std::string(info.param.name); });

// An 8-bit dictionary in Windows-1252 reads a UTF-16 script: the lines it
// can hold are translated, the others are kept as they are and reported.
TEST_F(Encodings, EightBitDictionaryKeepsWhatItCannotHold)
{
    Create(false);
    const std::string bytes = "\xFF\xFE" + Encode(kScript, "UTF-16LE");
    Insert(bytes);
    EXPECT_EQ(Texts(), Sorted({"Gr\xF6\xDF"
                               "e \xE4ndern",
                               "OK", "Datei",
                               "Pr\xFC"
                               "fung \"fertig\""}));
    EXPECT_NE(std::find(reporter.ids.begin(), reporter.ids.end(), MsgTextsNotInEncoding), reporter.ids.end());
    EXPECT_EQ(Generate(), bytes);
    doc.General()->SetTranslation("OK", "D'accord \xE9");
    std::string expected = kScript;
    expected.replace(expected.find("\"OK\""), 4, "\"D'accord é\"");
    EXPECT_EQ(Generate(), "\xFF\xFE" + Encode(expected, "UTF-16LE"));
}

// A translation that the script's encoding cannot hold is reported with
// the text and resource, and the text stays as it was (never "?").
TEST_F(Encodings, UnencodableTranslationStaysUntranslated)
{
    Create(true);
    const std::string script = "#pragma code_page(1251)\r\nSTRINGTABLE\r\nBEGIN\r\n    IDS_A \"" +
                               Encode("Файл", "WINDOWS-1251") + "\"\r\n    IDS_B \"" +
                               Encode("Правка", "WINDOWS-1251") + "\"\r\nEND\r\n";
    Insert(script);
    EXPECT_EQ(Texts(), Sorted({"Файл", "Правка"}));
    doc.General()->SetTranslation("Файл", "Fichier");
    doc.General()->SetTranslation("Правка", "日本");
    reporter.ids.clear();
    std::string expected = script;
    expected.replace(expected.find(Encode("Файл", "WINDOWS-1251")), 4, "Fichier");
    EXPECT_EQ(Generate(), expected);
    ASSERT_EQ(reporter.ids, std::vector<int>{MsgTranslationNotInEncoding});
    EXPECT_NE(reporter.texts.front().find("Правка"), std::string::npos) << reporter.texts.front();
}

// Shift-JIS: "表" and "ソ" end in 0x5C, the backslash, and must never be read
// as an escape nor doubled on writing.
TEST_F(Encodings, ShiftJisTrailBytesAreNeverEscapes)
{
    const std::string hyou = "\x95\x5C", so = "\x83\x5C";
    const std::string script = "#pragma code_page(932)\r\nSTRINGTABLE\r\nBEGIN\r\n    IDS_A \"" + hyou + so +
                               "\"\r\n    IDS_B \"" + so + "\\n" + hyou + "\"\r\nEND\r\n";
    Create(false, 932);
    Insert(script);
    EXPECT_EQ(Texts(), Sorted({hyou + so, so + "\\n" + hyou}));
    Reopen(932);
    EXPECT_EQ(Texts(), Sorted({hyou + so, so + "\\n" + hyou}));
    EXPECT_EQ(Generate(), script);
    doc.General()->SetTranslation(hyou + so, so + so + "\"");
    std::string expected = script;
    expected.replace(expected.find(hyou + so), 4, so + so + "\"\"");
    EXPECT_EQ(Generate(), expected);

    // The same script read by a Unicode dictionary.
    EXPECT_EQ(Reextract(source, {{"表ソ", "ソ表示"}}), Sorted({"表ソ", "ソ\\n表"}));
    std::string translated = script;
    translated.replace(translated.find(hyou + so), 4, Encode("ソ表示", "CP932"));
    EXPECT_EQ(ReadBytes(dir.File("again.rc")), translated);
}

// Big5: 0xA4 (the dictionary's separator byte) leads many characters and
// 0x5C trails some; both survive saving, reloading and generation.
TEST_F(Encodings, Big5SeparatorAndBackslashBytesSurvive)
{
    const std::string yi = "\xA4\x40", gong = "\xA5\x5C"; // 一, 功
    const std::string script =
        "#pragma code_page(950)\r\nSTRINGTABLE\r\nBEGIN\r\n    IDS_A \"" + yi + gong + "\"\r\nEND\r\n";
    Create(false, 950);
    Insert(script);
    Reopen(950);
    EXPECT_EQ(Texts(), std::vector<std::string>{yi + gong});
    EXPECT_EQ(Generate(), script);
    doc.General()->SetTranslation(yi + gong, gong + yi + gong);
    Reopen(950);
    std::string expected = script;
    expected.replace(expected.find(yi + gong), 4, gong + yi + gong);
    EXPECT_EQ(Generate(), expected);
}

// A Unicode dictionary keeps texts in Latin, Cyrillic and CJK scripts, and
// the separator byte inside UTF-8 sequences, byte for byte.
TEST_F(Encodings, UnicodeDictionaryRoundTripsByteForByte)
{
    Create(true);
    EXPECT_TRUE(doc.IsUnicode());
    EXPECT_EQ(doc.OriginalsCodePage(), kUtf8CodePage);
    const std::vector<std::pair<std::string, std::string>> texts = {
        {"Façade", "Фасад"}, {"Открыть", "開く"}, {"ह¤", "ड़ ¤"}, {"世界", "World"}};
    for (const auto& [original, translation] : texts)
        doc.General()->AddText(original, translation);
    doc.MarkChanged(CTrelvarDoc::GeneralChanged);
    ASSERT_TRUE(doc.Save());
    const std::string saved = ReadBytes(dir.File("d.dic"));
    EXPECT_EQ(saved.compare(0, 3, "\xEF\xBB\xBF"), 0) << "marked as Unicode in the file";
    Reopen();
    EXPECT_TRUE(doc.IsUnicode());
    for (const auto& [original, translation] : texts) {
        std::string found;
        EXPECT_TRUE(doc.General()->GetTranslation(original, found));
        EXPECT_EQ(found, translation);
    }
    doc.MarkChanged(CTrelvarDoc::GeneralChanged);
    ASSERT_TRUE(doc.Save());
    EXPECT_EQ(ReadBytes(dir.File("d.dic")), saved);
}

// The corpus scripts that are UTF-16 in their repositories: generation with
// an empty dictionary gives them back byte for byte, and they hold the texts
// of their 8-bit copies.
TEST(CorpusOriginal, Utf16ScriptsGenerateExactly)
{
    const fs::path corpus(LINGOREL_CORPUS_DIR);
    const fs::path root = corpus.parent_path() / "corpus-original";
    if (!fs::exists(root))
        GTEST_SKIP() << "no " << root;
    // The texts a new Unicode dictionary extracts from a script; the
    // generated copy must be the script itself.
    const auto road = [](const std::string& source, std::string& generated) {
        TempDir dir;
        RecordingReporter reporter;
        CTrelvarDoc doc;
        doc.SetReporter(&reporter);
        EXPECT_TRUE(doc.CreateDictionary("d", dir.Path().string(), "", "", true));
        EXPECT_EQ(InsertScript(*doc.Files(), source, dir.File("out.rc"), {}).message, 0);
        ExtractScripts(doc, {source}, nullptr, nullptr, &reporter);
        GenerateScripts(doc, {{source, dir.File("out.rc")}}, nullptr, nullptr, &reporter);
        generated = ReadBytes(dir.File("out.rc"));
        return Sorted(Originals(*doc.General()));
    };
    int scripts = 0;
    int sameTexts = 0;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (!entry.is_regular_file() || entry.path().extension() != ".rc")
            continue;
        const std::string source = entry.path().string();
        std::string generated;
        const std::vector<std::string> texts = road(source, generated);
        EXPECT_EQ(generated, ReadBytes(source)) << source;
        const std::string copy = (corpus / fs::relative(entry.path(), root)).string();
        sameTexts += road(copy, generated) == texts ? 1 : 0;
        ++scripts;
    }
    EXPECT_EQ(scripts, 17);
    // Two 8-bit copies lost characters outside Windows-1252; the others
    // hold exactly the texts of the originals.
    EXPECT_GE(sameTexts, 15);
}

} // namespace

TEST(ScriptText, APragmaChangesTheCodePageOfTheLinesAfterIt)
{
    // Pragmas indented and not, after a '#' that is none, to DEFAULT and at
    // the very end; a "#pragma" that is not the first word of its line
    // changes nothing. The script is read twice, as generation after a
    // preview does.
    const std::string script = "#include \"res.h\" // #pragma code_page(1250)\r\n"
                               "  #pragma code_page(1251)\r\n"
                               "A\r\n"
                               "#define X 1\n"
                               "\t#pragma code_page(DEFAULT)\n"
                               "B\n"
                               "x #pragma code_page(1253)\n"
                               "#pragma code_page(1250)\n"
                               "C\n"
                               "#pragma code_page(932)";
    ScriptText text;
    text.OpenMemory(script, 1252);
    for (int pass = 0; pass < 2; ++pass) {
        std::vector<int> pages;
        std::string_view line;
        for (std::int64_t n = text.ReadFirstLine(line); n >= 0; n = text.ReadLine(line))
            pages.push_back(text.LastCodePage());
        EXPECT_EQ(pages, (std::vector<int>{1252, 1252, 1251, 1251, 1251, 1252, 1252, 1252, 1250, 1250}))
            << "pass " << pass;
    }
}

TEST(ScriptText, UnicodeLinesReadBackAsTheyWereAtEveryPlaceOfTheirCharacters)
{
    // Lines of ASCII with a character beyond it (two bytes, three, and a
    // pair of units) at every place around the eight units read at once, in
    // both byte orders of UTF-16.
    std::vector<std::string> lines;
    for (const std::string wide : {"\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x98\x80"}) {
        for (std::size_t at = 0; at <= 40; ++at) {
            std::string line(40, 'a');
            for (std::size_t i = 0; i < line.size(); ++i)
                line[i] = static_cast<char>('a' + i % 26);
            lines.push_back(line.substr(0, at) + wide + line.substr(at));
        }
    }
    lines.push_back("");
    std::string utf8;
    for (const std::string& line : lines)
        utf8 += line + "\r\n";
    for (const char* form : {"UTF-16LE", "UTF-16BE"}) {
        std::string wide;
        ASSERT_TRUE(Codec(form).FromUtf8(utf8, wide));
        const std::string mark = std::string(form) == "UTF-16LE" ? "\xFF\xFE" : "\xFE\xFF";
        const std::string script = mark + wide; // read in place: it must outlive the reading
        ScriptText text;
        text.OpenMemory(script, kUtf8CodePage);
        std::vector<std::string> read;
        std::string_view line;
        for (std::int64_t n = text.ReadFirstLine(line); n >= 0; n = text.ReadLine(line))
            read.emplace_back(line);
        ASSERT_EQ(read.size(), lines.size()) << form;
        for (std::size_t i = 0; i < lines.size(); ++i)
            ASSERT_EQ(read[i], lines[i]) << form << " line " << i;
    }
}
