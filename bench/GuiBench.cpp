// The window's speed: starting on the sample to a shown main window, and
// selecting the largest dialog of the corpus to a shown preview.
#include "app/CMainFrame.h"
#include "app/CTrelvarApp.h"
#include "app/DocumentCommands.h"
#include "dictionary/CTrelvarDoc.h"
#include "dictionary/FileList.h"
#include "dictionary/GeneralDictionary.h"
#include "dictionary/ScriptInsertion.h"
#include "engine/ScriptResources.h"
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
    const QString ini = Home().path() + QStringLiteral("/preview.ini");
    qputenv("LINGOREL_SETTINGS", ini.toLocal8Bit());
    CTrelvarApp app;
    app.InitInstance({QStringLiteral("lorvo")});
    app.MainFrame()->resize(1400, 1000);
    app.MainFrame()->show();
    while (!app.MainFrame()->PreviewTabs())
        QTest::qWait(1);
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
    QApplication application(argc, argv);
    ModalAnswers::SetAutomatic(true);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
