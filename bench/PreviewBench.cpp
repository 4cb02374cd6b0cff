// The preview's reading: a dialog of 500 controls at the end of a 20 MB
// script, and the resource tree of 200 scripts of the corpus.
#include "engine/ResourceTree.h"
#include "preview/model/PreviewDialogInfo.h"
#include "preview/model/PreviewMenu.h"
#include "preview/model/PreviewReader.h"
#include "preview/model/StyleNameTable.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

fs::path Corpus()
{
    const char* env = std::getenv("LINGOREL_CORPUS");
    return env ? fs::path(env) : fs::path(LINGOREL_CORPUS_DIR);
}

std::vector<fs::path> CorpusScripts()
{
    std::vector<fs::path> scripts;
    for (const auto& e : fs::recursive_directory_iterator(Corpus())) {
        if (e.is_regular_file() && e.path().extension() == ".rc")
            scripts.push_back(e.path());
    }
    std::sort(scripts.begin(), scripts.end());
    return scripts;
}

const std::string& BigScriptWithDialog()
{
    static const std::string path = [] {
        const fs::path out = fs::temp_directory_path() / "lingorel-bench-preview.rc";
        std::ofstream big(out, std::ios::binary | std::ios::trunc);
        const std::string filler = "    LTEXT           \"Filler text of a line\",IDC_STATIC,7,7,40,8\r\n";
        for (std::size_t written = 0; written < 20u * 1024 * 1024; written += filler.size())
            big << filler;
        big << "IDD_BIG DIALOGEX 0, 0, 400, 300\r\nSTYLE DS_MODALFRAME | WS_POPUP | WS_CAPTION\r\n"
               "CAPTION \"Big\"\r\nFONT 8, \"MS Sans Serif\"\r\nBEGIN\r\n";
        for (int i = 0; i < 500; ++i)
            big << "    CONTROL         \"Option " << i << "\",IDC_OPTION" << i
                << ",\"Button\",BS_AUTOCHECKBOX | WS_TABSTOP,7," << i * 12 << ",100,10\r\n";
        big << "END\r\n";
        return out.string();
    }();
    return path;
}

void BM_ReadDialogAtTheEnd(benchmark::State& state)
{
    const std::string& path = BigScriptWithDialog();
    StyleNameTable styles;
    int counter = 1000;
    for (auto _ : state) {
        PreviewReader reader(styles, counter);
        PreviewDialogInfo dialog;
        PreviewMenu menu;
        const auto result = reader.Read(path, "IDD_BIG", 5, dialog, menu);
        if (!result.ended || dialog.controls.size() != 500)
            state.SkipWithError("the dialog was not read");
    }
}
BENCHMARK(BM_ReadDialogAtTheEnd)->Unit(benchmark::kMillisecond);

void BM_RebuildTree200(benchmark::State& state)
{
    std::vector<std::pair<std::string, std::string>> files;
    for (const fs::path& p : CorpusScripts()) {
        files.emplace_back(p.string(), "/out/" + p.filename().string());
        if (files.size() == 200)
            break;
    }
    ResourceTree tree;
    tree.SetFileMap(files);
    for (auto _ : state)
        tree.RebuildTree();
}
BENCHMARK(BM_RebuildTree200)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
