// Load and save of a large generated dictionary: 100,000 general texts and
// 300,000 in-context entries spread over 200 scripts.
#include "dictionary/CTrelvarDoc.h"
#include "dictionary/ContextDictionary.h"
#include "dictionary/FreedMemory.h"
#include "dictionary/GeneralDictionary.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

std::string Folder()
{
    static const std::string folder = [] {
        const auto path = std::filesystem::temp_directory_path() / "lingorel-bench-dictionary";
        std::filesystem::create_directories(path);
        return path.string();
    }();
    return folder;
}

std::string Text(int i)
{
    return "Generated text number " + std::to_string(i) + " with some words";
}

const std::string& MakeDictionary()
{
    static const std::string dic = [] {
        std::filesystem::remove(Folder() + "/big.dic");
        std::filesystem::remove(Folder() + "/big.ent");
        std::filesystem::remove(Folder() + "/big.fil");
        std::filesystem::remove(Folder() + "/big.nir");
        CTrelvarDoc doc;
        if (!doc.CreateDictionary("big", Folder(), "/src", "/dst"))
            std::abort();
        for (int i = 0; i < 100000; ++i)
            doc.General()->AddText(Text(i), i % 2 ? "Texte traduit " + std::to_string(i) : std::string());
        for (int i = 0; i < 300000; ++i) {
            const std::string file = "/home/user/project/scripts/script" + std::to_string(i % 200) + ".rc";
            const std::string resource = "IDD_DIALOG_" + std::to_string(i / 200 % 1500);
            const std::string text = Text(i % 100000);
            doc.Context()->AddEntry(file, resource + "+" + text, text, i % 7 ? "" : "En contexte", i % 5, "");
        }
        doc.Save();
        return doc.PathName();
    }();
    return dic;
}

void BM_LoadDictionary(benchmark::State& state)
{
    const std::string& dic = MakeDictionary();
    for (auto _ : state) {
        CTrelvarDoc doc;
        doc.SetAskOnChange(0);
        benchmark::DoNotOptimize(doc.OnOpenDocument(dic));
    }
}
BENCHMARK(BM_LoadDictionary)->Unit(benchmark::kMillisecond);

void BM_SaveDictionary(benchmark::State& state)
{
    CTrelvarDoc doc;
    doc.OnOpenDocument(MakeDictionary());
    for (auto _ : state)
        benchmark::DoNotOptimize(doc.Save());
}
BENCHMARK(BM_SaveDictionary)->Unit(benchmark::kMillisecond);

} // namespace

// Loading again and again in one process is what the window does when
// dictionaries are opened one after another: the allocator is set up as
// the window sets it.
int main(int argc, char** argv)
{
    KeepFreedMemoryForReuse();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
