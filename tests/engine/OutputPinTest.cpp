// Pins the bytes the program writes for a fixed set of corpus scripts: the
// dictionary files after extraction and after translation, and the
// generated scripts with and without translations. Work on speed must leave
// every byte as it is; a change of format is a deliberate change of these
// checksums.
#include "TestSupport.h"
#include "dictionary/CTrelvarDoc.h"
#include "dictionary/GeneralDictionary.h"
#include "dictionary/ScriptInsertion.h"
#include "engine/ScriptRuns.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

// FNV-1a, 64 bits, over the bytes with the test's own folder named "<dir>"
// (the files hold absolute paths).
struct Checksum
{
    std::uint64_t value = 14695981039346656037ull;
    void Add(std::string bytes, const std::string& folder)
    {
        for (std::size_t at = 0; (at = bytes.find(folder, at)) != std::string::npos;)
            bytes.replace(at, folder.size(), "<dir>");
        for (unsigned char c : bytes) {
            value ^= c;
            value *= 1099511628211ull;
        }
    }
    std::string Hex() const
    {
        char text[20];
        std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value));
        return text;
    }
};

// Every 12th script of the corpus in path order (75 scripts).
std::vector<fs::path> PinnedScripts()
{
    std::vector<fs::path> all;
    for (const auto& e : fs::recursive_directory_iterator(LINGOREL_CORPUS_DIR)) {
        const std::string ext = e.path().extension().string();
        if (e.is_regular_file() && (ext == ".rc" || ext == ".RC"))
            all.push_back(e.path());
    }
    std::sort(all.begin(), all.end());
    std::vector<fs::path> chosen;
    for (std::size_t i = 0; i < all.size(); i += 12)
        chosen.push_back(all[i]);
    return chosen;
}

} // namespace

TEST(OutputPin, DictionaryFilesAndGeneratedScriptsKeepTheirBytes)
{
    if (!fs::exists(LINGOREL_CORPUS_DIR))
        GTEST_SKIP() << "the corpus of real scripts is not available";
    TempDir dir;
    const std::string folder = dir.Path().string();
    fs::create_directories(dir.Path() / "src");
    std::vector<std::pair<std::string, std::string>> pairs;
    CTrelvarDoc doc;
    RecordingReporter reporter;
    doc.SetReporter(&reporter);
    ASSERT_TRUE(doc.CreateDictionary("d", folder, folder, folder));
    int n = 0;
    for (const fs::path& script : PinnedScripts()) {
        char prefix[16];
        std::snprintf(prefix, sizeof prefix, "%03d-", n++);
        const std::string source = (dir.Path() / "src" / (prefix + script.filename().string())).string();
        fs::copy_file(script, source);
        // The list of files keeps each script's time: make it the same on
        // every run.
        fs::last_write_time(source, fs::file_time_type(std::chrono::seconds(1700000000)));
        const std::string destination = (dir.Path() / "out" / fs::path(source).filename()).string();
        ASSERT_EQ(InsertScript(*doc.Files(), source, destination, {}).message, 0) << source;
        pairs.emplace_back(source, destination);
    }
    std::vector<std::string> sources;
    for (const auto& p : pairs)
        sources.push_back(p.first);
    ExtractScripts(doc, sources, nullptr, nullptr, &reporter);
    ASSERT_TRUE(doc.Save());
    const auto addFiles = [&](Checksum& sum, const std::vector<std::string>& files) {
        for (const std::string& f : files)
            sum.Add(ReadBytes(f), folder);
    };
    const std::vector<std::string> dictionaryFiles = {dir.File("d.dic"), dir.File("d.ent"), dir.File("d.fil"),
                                                      dir.File("d.nir")};
    std::vector<std::string> outputs;
    for (const auto& p : pairs)
        outputs.push_back(p.second);

    Checksum extracted;
    addFiles(extracted, dictionaryFiles);
    GenerateScripts(doc, pairs, nullptr, nullptr, &reporter);
    Checksum untranslated;
    addFiles(untranslated, outputs);

    // Every text translated, in-context translations and shortcuts left as
    // extracted.
    for (const std::string& o : Originals(*doc.General()))
        doc.General()->SetTranslation(o, "[" + o + "] \xE9t\xE9");
    doc.MarkChanged(CTrelvarDoc::GeneralChanged);
    ASSERT_TRUE(doc.Save());
    ASSERT_TRUE(doc.OnOpenDocument(dir.File("d.dic")));
    Checksum translatedFiles;
    addFiles(translatedFiles, dictionaryFiles);
    GenerateScripts(doc, pairs, nullptr, nullptr, &reporter);
    Checksum translated;
    addFiles(translated, outputs);

    EXPECT_EQ(pairs.size(), 75u);
    EXPECT_EQ(extracted.Hex(), "22ddb54de08cbcc3") << "dictionary files after extraction";
    EXPECT_EQ(untranslated.Hex(), "4bcf483cc2645d7c") << "scripts generated with no translation";
    EXPECT_EQ(translatedFiles.Hex(), "48f23564ba83b5f8") << "dictionary files with every text translated";
    EXPECT_EQ(translated.Hex(), "20c961fd759fbb2a") << "scripts generated with every text translated";
}
