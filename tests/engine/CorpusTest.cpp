// Every real script of the corpus: extraction succeeds, generation with no
// translation gives the same bytes, and generation with every text
// translated changes nothing but the literals and combo-box entries.
#include "TestSupport.h"
#include "dictionary/ContextDictionary.h"
#include "dictionary/GeneralDictionary.h"
#include "dictionary/LineFile.h"
#include "dictionary/TextRules.h"
#include "engine/ComboData.h"
#include "engine/Literal.h"
#include "engine/ResourceScript.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <map>

namespace fs = std::filesystem;

namespace {

std::vector<fs::path> CorpusScripts()
{
    std::vector<fs::path> scripts;
    const fs::path dir = CorpusDir();
    if (dir.empty())
        return scripts;
    for (const auto& entry : fs::recursive_directory_iterator(dir)) {
        std::string ext = entry.path().extension().string();
        std::transform(ext.begin(), ext.end(), ext.begin(), ::tolower);
        if (entry.is_regular_file() && (ext == ".rc" || ext == ".rc2"))
            scripts.push_back(entry.path());
    }
    std::sort(scripts.begin(), scripts.end());
    return scripts;
}

std::vector<std::string> Lines(const std::string& path)
{
    std::vector<std::string> lines;
    LineFile file;
    file.OpenForReading(path);
    std::string line;
    for (auto n = file.ReadFirstLine(line); n >= 0; n = file.ReadLine(line))
        lines.push_back(line);
    return lines;
}

// The mechanical translation: the text with a byte above 127, a quote, an
// escaped backslash and a quote after it, as a translator would type them.
// Every letter keeps its place, so every access key its letter.
std::string Translated(const std::string& text)
{
    return text + " \xE9\"\\\\\"";
}

// The bytes the compiler makes of a text as the dictionary shows it: its
// escapes resolved, a quote being a quote.
std::string CompiledText(const std::string& text)
{
    std::string body;
    for (char c : text)
        body += c == '"' ? std::string("\"\"") : std::string(1, c);
    return CompileLiteral(body);
}

// The compiled body of a generated literal without its mnemonic mark, with
// "&&" read as one ampersand, and where the mark stood.
std::string WithoutMnemonic(const std::string& compiled, int& mark)
{
    std::string out;
    mark = 0;
    for (std::size_t i = 0; i < compiled.size(); ++i) {
        if (compiled[i] == '&' && i + 1 < compiled.size() && compiled[i + 1] == '&') {
            out += '&';
            ++i;
        } else if (compiled[i] == '&') {
            mark = static_cast<int>(out.size()) + 1;
        } else {
            out += compiled[i];
        }
    }
    return out;
}

// What the generated literal must hold for a decoded source text.
std::string ExpectedText(const std::string& decoded)
{
    const std::string core = Normalised(decoded);
    if (core.empty() || !IsTranslatableText(core))
        return decoded;
    const std::size_t lead = decoded.find_first_not_of(' ');
    return decoded.substr(0, lead) + Translated(core) + decoded.substr(lead + core.size());
}

bool IsDoubleByteScript(const std::string& path)
{
    const std::string bytes = ReadBytes(path);
    for (const char* marker : {"LANG_JAPANESE", "LANG_CHINESE", "LANG_KOREAN", "code_page(932)",
                               "code_page(936)", "code_page(949)", "code_page(950)"}) {
        if (bytes.find(marker) != std::string::npos)
            return true;
    }
    return false;
}

std::string ComboText(const std::vector<std::string>& lines, std::size_t& i)
{
    ComboHeader header;
    ParseComboHeader(lines[i++], header);
    ComboWordReader reader(header.length);
    bool more = header.length >= 1;
    bool first = true;
    while (i < lines.size() && (more || first)) {
        more = reader.Feed(lines[i++]);
        first = false;
    }
    if (header.length >= 1 && reader.ClosingItemOnOwnLine())
        ++i;
    return reader.Text();
}

} // namespace

class Corpus : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (CorpusDir().empty())
            GTEST_SKIP() << "the corpus of real scripts is not available";
    }
};

TEST_F(Corpus, EmptyDictionaryGenerationIsByteIdentical)
{
    TempDir dir;
    int count = 0;
    for (const fs::path& path : CorpusScripts()) {
        GeneralDictionary general;
        ContextDictionary context;
        ResourceScript script;
        script.SetGeneralDictionary(&general);
        script.SetContextDictionary(&context);
        ASSERT_TRUE(script.OpenSource(path.string())) << path;
        script.Extract();
        const std::string out = dir.File("out.rc");
        ASSERT_TRUE(script.OpenForGeneration(path.string(), out)) << path;
        script.Generate();
        ASSERT_TRUE(script.Close());
        EXPECT_EQ(ReadBytes(out), ReadBytes(path.string())) << path;
        ++count;
    }
    EXPECT_GT(count, 1000);
}

TEST_F(Corpus, TranslatedGenerationChangesOnlyTheTexts)
{
    TempDir dir;
    std::size_t changedLines = 0;
    for (const fs::path& path : CorpusScripts()) {
        // A double-byte script's trail bytes may look like backslashes; such
        // texts compile alike but do not read back byte for byte, which only
        // reading the script in its own code page can give.
        if (IsDoubleByteScript(path.string()))
            continue;
        GeneralDictionary general;
        ContextDictionary context;
        ResourceScript script;
        script.SetGeneralDictionary(&general);
        script.SetContextDictionary(&context);
        ASSERT_TRUE(script.OpenSource(path.string()));
        script.Extract();
        std::vector<std::pair<std::string, std::string>> translations;
        for (const auto& e : general.Texts())
            translations.emplace_back(e.key, Translated(std::string(e.key)));
        for (const auto& [original, translation] : translations)
            general.SetTranslation(original, translation);
        const std::string out = dir.File("out.rc");
        ASSERT_TRUE(script.OpenForGeneration(path.string(), out));
        script.Generate();
        ASSERT_TRUE(script.Close());

        // Re-extracting the translated script gives back exactly the
        // translations, each in the resources its original was in.
        GeneralDictionary again;
        ContextDictionary againContext;
        ResourceScript reader;
        reader.SetGeneralDictionary(&again);
        reader.SetContextDictionary(&againContext);
        ASSERT_TRUE(reader.OpenSource(out));
        reader.Extract();
        std::vector<std::string> expected, got;
        for (const auto& [original, translation] : translations)
            expected.push_back(translation);
        for (const auto& e : again.Texts())
            got.emplace_back(e.key);
        EXPECT_EQ(got, expected) << path;
        EXPECT_EQ(againContext.EntryCount(), context.EntryCount()) << path;

        const auto source = Lines(path.string());
        const auto generated = Lines(out);
        // Combo-box entries may take more data lines once translated, so
        // the two scripts are walked side by side.
        std::size_t j = 0;
        for (std::size_t i = 0; i < source.size(); ++i, ++j) {
            ASSERT_LT(j, generated.size()) << path;
            if (source[i].find("0x403,") != std::string::npos && source[i].find('"') == std::string::npos) {
                // A combo-box string is translated in a literal's form: its
                // data hold what the compiler would make of that form.
                std::size_t a = i, b = j;
                const std::string before = ComboText(source, a);
                const std::string after = ComboText(generated, b);
                EXPECT_EQ(after, ComboBytesFromText(ExpectedText(ComboTextFromBytes(before))))
                    << path << ":" << i + 1;
                changedLines += after != before;
                i = a - 1;
                j = b - 1;
                continue;
            }
            // A literal continued after a backslash is one text, written
            // on one line once translated.
            std::string line = source[i];
            DecodedLiteral from = DecodeLiteral(line);
            while (LiteralRunsOn(from, line) && i + 1 < source.size()) {
                line.pop_back();
                line += source[++i];
                from = DecodeLiteral(line);
            }
            if (line == generated[j])
                continue;
            ++changedLines;
            const DecodedLiteral to = DecodeLiteral(generated[j]);
            EXPECT_EQ(to.prefix, from.prefix) << path << ":" << i + 1;
            EXPECT_EQ(to.suffix, from.suffix) << path << ":" << i + 1;
            EXPECT_EQ(to.text, ExpectedText(from.text)) << path << ":" << i + 1 << " " << source[i];
            const bool caption = source[i].rfind("CAPTION ", 0) == 0;
            if (caption)
                continue;
            // Every occurrence keeps its own access key, or none, on a
            // character that can carry one.
            EXPECT_EQ(to.shortcut, AccessKeyPlace(to.text, from.shortcut)) << path << ":" << i + 1;
            // Compiled, the line holds exactly the translation.
            const std::string& out = generated[j];
            const std::string body =
                out.substr(to.prefix.size(), out.size() - to.prefix.size() - to.suffix.size());
            int mark = 0;
            EXPECT_EQ(WithoutMnemonic(CompileLiteral(body), mark), CompiledText(to.text))
                << path << ":" << i + 1;
            EXPECT_EQ(mark != 0, to.shortcut != 0) << path << ":" << i + 1;
        }
        EXPECT_EQ(j, generated.size()) << path;
    }
    EXPECT_GT(changedLines, 10000u);
}
