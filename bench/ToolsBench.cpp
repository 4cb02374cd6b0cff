// Find in resources over a large dictionary, and the import of a large
// dictionary into another: 100,000 general texts, 100,000 in-context
// entries over 100 scripts.
#include "dictionary/ContextDictionary.h"
#include "dictionary/DictionaryTools.h"
#include "dictionary/GeneralDictionary.h"
#include "engine/ResourceSearch.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

constexpr int kTexts = 100000;

std::string Text(int i)
{
    return "Generated text number " + std::to_string(i) + " with some words";
}

struct Stores
{
    GeneralDictionary general;
    ContextDictionary context;
};

const Stores& BigStores()
{
    static const Stores* stores = [] {
        auto* s = new Stores;
        for (int i = 0; i < kTexts; ++i)
            s->general.AddText(Text(i), i % 2 ? "Texte traduit " + std::to_string(i) : std::string());
        for (int i = 0; i < kTexts; ++i) {
            const std::string file = "/home/user/project/scripts/script" + std::to_string(i % 100) + ".rc";
            const std::string resource = "IDD_DIALOG_" + std::to_string(i / 100 % 500);
            s->context.AddEntry(file, resource + "+" + std::to_string(i), Text(i), i % 7 ? "" : "En contexte",
                                0, "");
        }
        return s;
    }();
    return *stores;
}

void BM_FindInResources(benchmark::State& state)
{
    const Stores& stores = BigStores();
    std::size_t found = 0;
    for (auto _ : state) {
        // A text met in the general translations only, in a few entries.
        found = FindInResources(stores.general, stores.context, "TRADUIT 4242").size();
        benchmark::DoNotOptimize(found);
    }
    state.counters["matches"] = static_cast<double>(found);
}
BENCHMARK(BM_FindInResources)->Unit(benchmark::kMillisecond);

// The imported file: every text with a translation, as a .dic file.
const std::string& ImportFile()
{
    static const std::string path = [] {
        const auto folder = std::filesystem::temp_directory_path() / "lingorel-bench-tools";
        std::filesystem::create_directories(folder);
        GeneralDictionary other;
        for (int i = 0; i < kTexts; ++i)
            other.AddText(Text(i), "Traduction import\xE9"
                                   "e " +
                                       std::to_string(i));
        other.SetFilePath((folder / "other.dic").string());
        if (!other.Save())
            std::abort();
        return other.FilePath();
    }();
    return path;
}

void BM_ImportDictionary(benchmark::State& state)
{
    const std::string& file = ImportFile();
    int imported = 0;
    for (auto _ : state) {
        state.PauseTiming();
        GeneralDictionary target;
        for (int i = 0; i < kTexts; ++i)
            target.AddText(Text(i), i % 2 ? "Texte traduit " + std::to_string(i) : std::string());
        state.ResumeTiming();
        const auto other = ReadImportFile(file, true, nullptr);
        imported = ImportTranslations(target, *other);
        benchmark::DoNotOptimize(imported);
    }
    state.counters["imported"] = imported;
}
BENCHMARK(BM_ImportDictionary)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
