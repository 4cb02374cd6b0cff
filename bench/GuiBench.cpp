// The window's speed: starting on the sample to a shown main window, opening
// a dictionary of 100,000 texts to a shown tree, showing them in the
// Dictionary window, and
// selecting the largest dialog of the corpus to a shown preview.
#include "app/CMainFrame.h"
#include "app/CTrelvarApp.h"
#include "app/DocumentCommands.h"
#include "dictionary/CTrelvarDoc.h"
#include "dictionary/FileList.h"
#include "dictionary/FreedMemory.h"
#include "dictionary/GeneralDictionary.h"
#include "dictionary/ScriptInsertion.h"
#include "engine/ScriptResources.h"
#include "engine/ScriptRuns.h"
#include "preview/CDlgPreview.h"
#include "preview/model/PreviewDialogInfo.h"
#include "preview/model/PreviewMenu.h"
#include "preview/model/PreviewReader.h"
#include "preview/model/StyleNameTable.h"
#include "tessary/ModalAnswers.h"
#include "views/CListCtrlBookmark.h"
#include "views/CResTreeCtrl.h"
#include "windows/CDlgGeneralDictionary.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

QTemporaryDir& Home()
{
    static QTemporaryDir home;
    return home;
}

void BM_StartOnTheSample(benchmark::State& state)
{
    for (auto _ : state) {
        const QString ini = Home().path() + QStringLiteral("/start.ini");
        QFile::remove(ini);
        qputenv("LINGOREL_SETTINGS", ini.toLocal8Bit());
        QElapsedTimer timer;
        timer.start();
        CTrelvarApp app;
        app.InitInstance({QStringLiteral("lorvo")});
        app.MainFrame()->showMaximized();
        // Shown: the preview tabs exist and the first preview is up.
        while (!app.MainFrame()->PreviewTabs() || !app.MainFrame()->Tree()->DialogPreview())
            QTest::qWait(1);
        state.SetIterationTime(timer.elapsed() / 1000.0);
        app.MainFrame()->close();
    }
}
BENCHMARK(BM_StartOnTheSample)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

// The program started with its own settings, its main window shown.
void Start(CTrelvarApp& app, const QString& settings)
{
    qputenv("LINGOREL_SETTINGS", (Home().path() + QLatin1Char('/') + settings).toLocal8Bit());
    app.InitInstance({QStringLiteral("lorvo")});
    app.MainFrame()->resize(1400, 1000);
    app.MainFrame()->show();
    while (!app.MainFrame()->PreviewTabs())
        QTest::qWait(1);
}

// The dialog of the corpus with the most controls.
std::pair<std::string, std::string> LargestDialog()
{
    const char* env = std::getenv("LINGOREL_CORPUS");
    const fs::path corpus = env ? fs::path(env) : fs::path(LINGOREL_CORPUS_DIR);
    StyleNameTable styles;
    int counter = 0;
    std::pair<std::string, std::string> best;
    std::size_t most = 0;
    for (const auto& e : fs::recursive_directory_iterator(corpus)) {
        if (!e.is_regular_file() || e.path().extension() != ".rc")
            continue;
        ScriptResources resources;
        resources.Scan(e.path().string(), ScriptResources::Dialogs);
        PreviewReader reader(styles, counter);
        for (const std::string& name : resources.dialogs) {
            PreviewDialogInfo dialog;
            PreviewMenu menu;
            reader.Read(e.path().string(), name, 5, dialog, menu);
            if (dialog.controls.size() > most) {
                most = dialog.controls.size();
                best = {e.path().string(), name};
            }
        }
    }
    return best;
}

void BM_PreviewTheLargestDialog(benchmark::State& state)
{
    const auto [script, name] = LargestDialog();
    CTrelvarApp app;
    Start(app, QStringLiteral("preview.ini"));
    DocumentCommands* documents = app.MainFrame()->Documents();
    documents->Doc().CreateDictionary("largest", Home().path().toStdString(), "",
                                      Home().path().toStdString());
    InsertScript(*documents->Doc().Files(), script, "", Home().path().toStdString());
    documents->Doc().Save();
    documents->OpenDocumentFile(QString::fromStdString(documents->Doc().PathName()));
    CResTreeCtrl* tree = app.MainFrame()->Tree();
    const ResourceTreeItem* item = tree->Model().FindResourceItem(script, name);
    const ResourceTreeItem* other = tree->Model().FindFileItem(script);
    for (auto _ : state) {
        tree->Select(other);
        QElapsedTimer timer;
        timer.start();
        tree->Select(item);
        QApplication::processEvents();
        state.SetIterationTime(timer.nsecsElapsed() / 1e9);
        if (!tree->DialogPreview())
            state.SkipWithError("no preview");
    }
    state.SetLabel(name + " of " + fs::path(script).filename().string() + ", " +
                   std::to_string(tree->Description().controls.size()) + " controls");
    app.MainFrame()->close();
}
BENCHMARK(BM_PreviewTheLargestDialog)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

// A dictionary of 100,000 texts extracted from a script of 1,000 dialogs of
// 100 controls each, half of the texts translated; made once.
const std::string& LargeExtractedDictionary()
{
    static const std::string dic = [] {
        const std::string folder = Home().path().toStdString() + "/extracted";
        fs::create_directories(folder);
        std::string script;
        for (int d = 0; d < 1000; ++d) {
            script += "IDD_DIALOG" + std::to_string(d) + " DIALOGEX 0, 0, 300, 200\r\nCAPTION \"Dialog " +
                      std::to_string(d) + "\"\r\nBEGIN\r\n";
            for (int c = 0; c < 99; ++c)
                script += "    LTEXT \"Label " + std::to_string(d * 100 + c) +
                          " of the form\",IDC_STATIC,7," + std::to_string(c * 2) + ",80,8\r\n";
            script += "END\r\n\r\n";
        }
        std::ofstream(folder + "/large.rc", std::ios::binary) << script;
        CTrelvarDoc doc;
        doc.CreateDictionary("large", folder, folder, folder + "/out");
        InsertScript(*doc.Files(), folder + "/large.rc", folder + "/out/large.rc", {});
        ExtractScripts(doc, {folder + "/large.rc"}, nullptr, nullptr, nullptr);
        int i = 0;
        std::vector<std::string> originals;
        for (const auto& e : doc.General()->Texts())
            originals.emplace_back(e.key);
        for (const std::string& o : originals) {
            if (++i % 2)
                doc.General()->SetTranslation(o, "Traduit " + o);
        }
        doc.MarkChanged(CTrelvarDoc::GeneralChanged);
        doc.Save();
        return doc.PathName();
    }();
    return dic;
}

void BM_OpenALargeDictionary(benchmark::State& state)
{
    const std::string& dic = LargeExtractedDictionary();
    CTrelvarApp app;
    Start(app, QStringLiteral("open.ini"));
    DocumentCommands* documents = app.MainFrame()->Documents();
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        documents->OpenDocumentFile(QString::fromStdString(dic));
        QApplication::processEvents(); // the tree painted
        state.SetIterationTime(timer.nsecsElapsed() / 1e9);
    }
    state.SetLabel(std::to_string(documents->Doc().General()->TextCount()) + " texts, " +
                   std::to_string(app.MainFrame()->Tree()->topLevelItemCount()) + " script(s) in the tree");
    app.MainFrame()->close();
}
BENCHMARK(BM_OpenALargeDictionary)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

// A general dictionary of 100,000 texts, half of them translated.
CTrelvarDoc& LargeDictionary()
{
    static CTrelvarDoc doc;
    if (!doc.IsOpen()) {
        doc.CreateDictionary("large", Home().path().toStdString(), "", Home().path().toStdString());
        for (int i = 0; i < 100000; ++i) {
            const std::string text = "Text number " + std::to_string(i) + " of the &dictionary";
            doc.General()->AddText(text, i % 2 ? "Texte " + std::to_string(i) : std::string());
        }
    }
    return doc;
}

void BM_ShowTheDictionaryWindow(benchmark::State& state)
{
    CTrelvarDoc& doc = LargeDictionary();
    CDlgGeneralDictionary window(nullptr, &doc, [] {});
    for (auto _ : state) {
        window.hide();
        doc.MarkChanged(CTrelvarDoc::GeneralChanged);
        QElapsedTimer timer;
        timer.start();
        window.ShowWindow();
        QApplication::processEvents(); // painted: the list is usable
        state.SetIterationTime(timer.nsecsElapsed() / 1e9);
    }
    state.SetLabel(std::to_string(window.List()->GetItemCount()) + " rows");
}
BENCHMARK(BM_ShowTheDictionaryWindow)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_DictionaryWindowOK(benchmark::State& state)
{
    CTrelvarDoc& doc = LargeDictionary();
    CDlgGeneralDictionary window(nullptr, &doc, [] {});
    for (auto _ : state) {
        doc.MarkChanged(CTrelvarDoc::GeneralChanged);
        window.ShowWindow();
        QApplication::processEvents();
        window.List()->SetItemText(1, 1, QStringLiteral("Changed"));
        QElapsedTimer timer;
        timer.start();
        window.OnOK(false);
        state.SetIterationTime(timer.nsecsElapsed() / 1e9);
    }
}
BENCHMARK(BM_DictionaryWindowOK)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    KeepFreedMemoryForReuse(); // as the window's own start does
    QApplication application(argc, argv);
    ModalAnswers::SetAutomatic(true);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
