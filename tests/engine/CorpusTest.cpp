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

// The mechanical translation: every text reversed.
std::string Reversed(std::string text)
{
    std::reverse(text.begin(), text.end());
    return text;
}

// What the generated literal must hold for a decoded source text.
std::string ExpectedText(const std::string& decoded)
{
    const std::string core = Normalised(decoded);
    if (core.empty() || !IsTranslatableText(core))
        return decoded;
    const std::size_t lead = decoded.find_first_not_of(' ');
    return decoded.substr(0, lead) + Reversed(core) + decoded.substr(lead + core.size());
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
        GeneralDictionary general;
        ContextDictionary context;
        ResourceScript script;
        script.SetGeneralDictionary(&general);
        script.SetContextDictionary(&context);
        ASSERT_TRUE(script.OpenSource(path.string()));
        script.Extract();
        std::vector<std::pair<std::string, std::string>> translations;
        for (const auto& e : general.Texts())
            translations.emplace_back(e.key, Reversed(e.key));
        for (const auto& [original, translation] : translations)
            general.SetTranslation(original, translation);
        const std::string out = dir.File("out.rc");
        ASSERT_TRUE(script.OpenForGeneration(path.string(), out));
        script.Generate();
        ASSERT_TRUE(script.Close());

        const auto source = Lines(path.string());
        const auto generated = Lines(out);
        std::map<std::string, int> occurrences;
        for (const std::string& line : source)
            ++occurrences[Normalised(DecodeLiteral(line).text)];
        ASSERT_EQ(source.size(), generated.size()) << path;
        for (std::size_t i = 0; i < source.size(); ++i) {
            if (source[i].find("0x403,") != std::string::npos && source[i].find('"') == std::string::npos) {
                std::size_t a = i, b = i;
                const std::string before = ComboText(source, a);
                const std::string after = ComboText(generated, b);
                ASSERT_EQ(a, b) << path << ":" << i + 1;
                EXPECT_EQ(after, ExpectedText(before)) << path << ":" << i + 1;
                changedLines += after != before;
                i = a - 1;
                continue;
            }
            if (source[i] == generated[i])
                continue;
            ++changedLines;
            const DecodedLiteral from = DecodeLiteral(source[i]);
            const DecodedLiteral to = DecodeLiteral(generated[i]);
            EXPECT_EQ(to.prefix, from.prefix) << path << ":" << i + 1;
            EXPECT_EQ(to.suffix, from.suffix) << path << ":" << i + 1;
            EXPECT_EQ(to.text, ExpectedText(from.text)) << path << ":" << i + 1 << " " << source[i];
            const bool caption = source[i].rfind("CAPTION ", 0) == 0;
            // The mnemonic keeps its place. (A text met twice in a resource
            // takes the mnemonic of its first occurrence, so only texts met
            // once in the script are checked.)
            if (!caption && occurrences[Normalised(from.text)] == 1) {
                EXPECT_EQ(to.shortcut, from.shortcut) << path << ":" << i + 1;
            }
        }
    }
    EXPECT_GT(changedLines, 10000u);
}
