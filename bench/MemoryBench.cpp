// The translation memory at the size of a translator's years of work:
// 500,000 units. The best five matches of a text, the pre-translation of a
// 10,000-text dictionary, adding a 100,000-text source; and the command a
// user types for a lookup, beside grep over the same units as text.
#include "dictionary/CTrelvarDoc.h"
#include "dictionary/GeneralDictionary.h"
#include "memory/MemorySources.h"
#include "memory/TranslationMemory.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace {

namespace fs = std::filesystem;

constexpr int kUnits = 500000;

const std::vector<std::string>& Words()
{
    static const std::vector<std::string> words = [] {
        std::vector<std::string> w;
        const char* syllables[] = {"ka",  "lo", "mer", "dis", "tri",  "pon",
                                   "sel", "ve", "ra",  "tu",  "ning", "ex"};
        std::mt19937 random(7);
        for (int i = 0; i < 6000; ++i) {
            std::string word;
            const int n = 1 + static_cast<int>(random() % 4);
            for (int k = 0; k < n; ++k)
                word += syllables[random() % 12];
            w.push_back(word);
        }
        return w;
    }();
    return words;
}

// A user-interface text: a few words, sometimes a placeholder.
std::string Sentence(std::mt19937& random)
{
    const auto& words = Words();
    std::string text;
    const int n = 2 + static_cast<int>(random() % 8);
    for (int i = 0; i < n; ++i) {
        // Common words are common, as in real texts.
        const std::size_t pick = std::min<std::size_t>(random() % words.size(), random() % words.size());
        text += (i ? " " : "") + words[pick];
    }
    if (random() % 5 == 0)
        text += " %s";
    return text;
}

struct Fixture
{
    fs::path folder;
    std::unique_ptr<TranslationMemory> memory;
    std::vector<std::string> originals;
};

Fixture& Big()
{
    static Fixture* fixture = [] {
        auto* f = new Fixture;
        f->folder = fs::temp_directory_path() / "lingorel-bench-memory";
        std::string error;
        // A memory made by an earlier run is taken again as it is.
        f->memory = TranslationMemory::Open((f->folder / "memory.db").string(), error);
        if (f->memory && fs::exists(f->folder / "complete")) {
            std::ifstream dump(f->folder / "units.txt");
            std::string line;
            for (int i = 0; std::getline(dump, line); ++i) {
                if (i % 50 == 0)
                    f->originals.push_back(line.substr(0, line.find('\t')));
            }
            return f;
        }
        f->memory.reset();
        fs::remove_all(f->folder);
        f->memory = TranslationMemory::Open((f->folder / "memory.db").string(), error);
        std::mt19937 random(11);
        std::ofstream dump(f->folder / "units.txt");
        for (int source = 0; source < 10; ++source) {
            std::vector<MemoryUnit> units;
            for (int i = 0; i < kUnits / 10; ++i) {
                MemoryUnit unit{Sentence(random), {}, {}, "cp1252", "cp1252"};
                unit.translation = "T " + unit.original;
                dump << unit.original << '\t' << unit.translation << '\n';
                if (i % 50 == 0)
                    f->originals.push_back(unit.original);
                units.push_back(std::move(unit));
            }
            f->memory->ReplaceSource("project" + std::to_string(source) + ".dic", units, error);
        }
        std::ofstream(f->folder / "complete") << f->memory->Stats().units << '\n';
        return f;
    }();
    return *fixture;
}

void BM_FindBestFive(benchmark::State& state)
{
    Fixture& f = Big();
    std::mt19937 random(3);
    std::size_t found = 0;
    for (auto _ : state) {
        // A text of the memory with one word more: close matches only.
        const std::string text = f.originals[random() % f.originals.size()] + " " + Words()[random() % 100];
        found += f.memory->Find(text, 5, 50).size();
    }
    benchmark::DoNotOptimize(found);
}
BENCHMARK(BM_FindBestFive)->Unit(benchmark::kMillisecond);

void BM_AddSourceOf100k(benchmark::State& state)
{
    Fixture& f = Big();
    std::mt19937 random(5);
    std::vector<MemoryUnit> units;
    for (int i = 0; i < 100000; ++i) {
        MemoryUnit unit{Sentence(random), {}, {}, "cp1252", "cp1252"};
        unit.translation = "N " + unit.original;
        units.push_back(std::move(unit));
    }
    std::string error;
    for (auto _ : state) {
        f.memory->ReplaceSource("new.dic", units, error);
        state.PauseTiming();
        f.memory->RemoveSource("new.dic", error);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_AddSourceOf100k)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_PretranslateTenThousand(benchmark::State& state)
{
    Fixture& f = Big();
    const fs::path folder = f.folder / "dictionary";
    fs::create_directories(folder);
    std::mt19937 random(9);
    std::vector<std::string> texts;
    // Half the texts are in the memory.
    for (int i = 0; i < 10000; ++i)
        texts.push_back(i % 2 ? f.originals[random() % f.originals.size()] : Sentence(random));
    int filled = 0;
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove_all(folder);
        fs::create_directories(folder);
        CTrelvarDoc doc;
        doc.CreateDictionary("bench", folder.string(), folder.string(), folder.string());
        for (const std::string& text : texts)
            doc.General()->AddText(text, {});
        state.ResumeTiming();
        filled = Pretranslate(doc, *f.memory).filled;
    }
    state.counters["filled"] = filled;
}
BENCHMARK(BM_PretranslateTenThousand)->Unit(benchmark::kMillisecond)->Iterations(1);

// The whole command as a user times it, and grep over the same units.
void BM_CommandMemoryFind(benchmark::State& state)
{
    Fixture& f = Big();
    const std::string command = std::string("'") + LORVO_CLI + "' memory find '" + f.originals[17] +
                                " kalo' --memory '" + (f.folder / "memory.db").string() + "' >/dev/null";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0)
            state.SkipWithError("lorvo-cli memory find failed");
    }
}
BENCHMARK(BM_CommandMemoryFind)->Unit(benchmark::kMillisecond);

void BM_GrepUnits(benchmark::State& state)
{
    Fixture& f = Big();
    const std::string command = "grep -c '" + f.originals[17].substr(0, 6) + "' '" +
                                (f.folder / "units.txt").string() + "' >/dev/null";
    for (auto _ : state)
        benchmark::DoNotOptimize(std::system(command.c_str()));
}
BENCHMARK(BM_GrepUnits)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
