// The list control with 100,000 rows of two columns: inserting them and
// showing the list, and sorting it by a column.
#include "tessary/CListCtrlEx.h"

#include <QApplication>
#include <QElapsedTimer>

#include <benchmark/benchmark.h>

namespace {

std::unique_ptr<CListCtrlEx> Filled(int rows)
{
    auto list = std::make_unique<CListCtrlEx>();
    list->InsertColumn(0, QStringLiteral("Original"), CListCtrlEx::FormatLeft, 250);
    list->InsertColumn(1, QStringLiteral("Translation"), CListCtrlEx::FormatLeft, 250);
    for (int i = 0; i < rows; ++i) {
        const int row = list->InsertItem(i, QStringLiteral("Original text number %1").arg(i));
        list->SetItemText(row, 1, QStringLiteral("Texte traduit %1").arg((i * 7919) % rows));
        list->SetItemData(row, (i * 7919) % rows);
    }
    return list;
}

void BM_InsertAndShow100000(benchmark::State& state)
{
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        auto list = Filled(100000);
        list->resize(600, 500);
        list->show();
        QApplication::processEvents();
        state.SetIterationTime(timer.elapsed() / 1000.0);
    }
}
BENCHMARK(BM_InsertAndShow100000)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

int ByData(std::intptr_t a, std::intptr_t b, std::intptr_t sortValue)
{
    const int result = a < b ? -1 : a > b ? 1 : 0;
    return sortValue / 65536 ? -result : result;
}

void BM_Sort100000(benchmark::State& state)
{
    auto list = Filled(100000);
    list->SetCompareProcForSorting(ByData);
    list->resize(600, 500);
    list->show();
    QApplication::processEvents();
    for (auto _ : state) {
        list->Sort(1, true);
        QApplication::processEvents();
    }
}
BENCHMARK(BM_Sort100000)->Unit(benchmark::kMillisecond)->Iterations(4);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
