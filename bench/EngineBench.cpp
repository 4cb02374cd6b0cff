// Extraction and generation speed on a script of about 20 MB made by
// concatenating the corpus, beside `cat` and `grep -c '"'` on the same file.
#include "dictionary/Codec.h"
#include "dictionary/ContextDictionary.h"
#include "dictionary/GeneralDictionary.h"
#include "dictionary/NotExtractedList.h"
#include "engine/ResourceScript.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const fs::path& Folder()
{
    static const fs::path folder = [] {
        const fs::path path = fs::temp_directory_path() / "lingorel-bench-engine";
        fs::create_directories(path);
        return path;
    }();
    return folder;
}

// The corpus scripts, concatenated (in a fixed order) until about 20 MB.
const std::string& BigScript()
{
    static const std::string path = [] {
        const fs::path out = Folder() / "big.rc";
        std::vector<fs::path> scripts;
        const char* env = std::getenv("LINGOREL_CORPUS");
        const fs::path corpus = env ? fs::path(env) : fs::path(LINGOREL_CORPUS_DIR);
        for (const auto& e : fs::recursive_directory_iterator(corpus)) {
            const std::string ext = e.path().extension().string();
            if (e.is_regular_file() && (ext == ".rc" || ext == ".RC"))
                scripts.push_back(e.path());
        }
        std::sort(scripts.begin(), scripts.end());
        std::ofstream big(out, std::ios::binary | std::ios::trunc);
        std::size_t written = 0;
        while (written < 20u * 1024 * 1024 && !scripts.empty()) {
            for (const fs::path& p : scripts) {
                std::ifstream in(p, std::ios::binary);
                const std::string bytes((std::istreambuf_iterator<char>(in)),
                                        std::istreambuf_iterator<char>());
                big << bytes;
                written += bytes.size();
                if (written >= 20u * 1024 * 1024)
                    break;
            }
        }
        return out.string();
    }();
    return path;
}

std::int64_t ScriptSize()
{
    return static_cast<std::int64_t>(fs::file_size(BigScript()));
}

struct Dictionaries
{
    GeneralDictionary general;
    ContextDictionary context;
    NotExtractedList notExtracted;
};

void Attach(ResourceScript& script, Dictionaries& d)
{
    script.SetGeneralDictionary(&d.general);
    script.SetContextDictionary(&d.context);
    script.SetNotExtractedList(&d.notExtracted);
}

// Bytes per second are counted on the 8-bit script, whatever the form read,
// so that the forms compare directly.
void Extract(benchmark::State& state, const std::string& path)
{
    for (auto _ : state) {
        Dictionaries d;
        ResourceScript script;
        script.SetEncodings(1252, 1252);
        Attach(script, d);
        script.OpenSource(path);
        script.Extract();
        benchmark::DoNotOptimize(d.general.TextCount());
    }
    state.SetBytesProcessed(state.iterations() * ScriptSize());
}

void BM_Extract(benchmark::State& state)
{
    Extract(state, BigScript());
}
BENCHMARK(BM_Extract)->Unit(benchmark::kMillisecond);

void Generate(benchmark::State& state, bool translated, const std::string& path = BigScript())
{
    Dictionaries d;
    ResourceScript script;
    script.SetEncodings(1252, 1252);
    Attach(script, d);
    script.OpenSource(path);
    script.Extract();
    if (translated) {
        std::vector<std::string> originals;
        for (const auto& e : d.general.Texts())
            originals.emplace_back(e.key);
        for (const std::string& o : originals)
            d.general.SetTranslation(o, "[" + o + "]");
    }
    const std::string out = (Folder() / ("out-" + fs::path(path).filename().string())).string();
    for (auto _ : state) {
        script.OpenForGeneration(path, out);
        script.Generate();
        script.Close();
    }
    state.SetBytesProcessed(state.iterations() * ScriptSize());
}

void BM_GenerateUntranslated(benchmark::State& state)
{
    Generate(state, false);
}
BENCHMARK(BM_GenerateUntranslated)->Unit(benchmark::kMillisecond);

void BM_GenerateTranslated(benchmark::State& state)
{
    Generate(state, true);
}
BENCHMARK(BM_GenerateTranslated)->Unit(benchmark::kMillisecond);

// The same script in UTF-16 LE with a byte-order mark, as the resource
// editor saves it: reading and generating it may cost at most 1.5 times the
// 8-bit script of the same text.
const std::string& WideScript()
{
    static const std::string path = [] {
        const fs::path out = Folder() / "big-utf16.rc";
        std::ifstream in(BigScript(), std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::string wide;
        Codec("UTF-16LE").FromUtf8(Codec::ForCodePage(1252).ToUtf8(bytes), wide);
        std::ofstream(out, std::ios::binary | std::ios::trunc) << "\xFF\xFE" << wide;
        return out.string();
    }();
    return path;
}

void BM_ExtractUtf16(benchmark::State& state)
{
    Extract(state, WideScript());
}
BENCHMARK(BM_ExtractUtf16)->Unit(benchmark::kMillisecond);

void BM_GenerateUtf16Translated(benchmark::State& state)
{
    Generate(state, true, WideScript());
}
BENCHMARK(BM_GenerateUtf16Translated)->Unit(benchmark::kMillisecond);

void Shell(benchmark::State& state, const std::string& command)
{
    const std::string line = command + " '" + BigScript() + "' > /dev/null";
    for (auto _ : state)
        benchmark::DoNotOptimize(std::system(line.c_str()));
    state.SetBytesProcessed(state.iterations() * ScriptSize());
}

void BM_Cat(benchmark::State& state)
{
    Shell(state, "cat");
}
BENCHMARK(BM_Cat)->Unit(benchmark::kMillisecond);

void BM_GrepQuotes(benchmark::State& state)
{
    Shell(state, "grep -c '\"'");
}
BENCHMARK(BM_GrepQuotes)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
