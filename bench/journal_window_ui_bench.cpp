// The journal window at 100 000 rows: opening it (rebuild and first paint), appending a
// session while it is open, and the text exports.

#include "journal/grid_export.h"
#include "journal/ui/journal_window.h"
#include "journal_bench_data.h"

#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {
constexpr int journalRows = 100000;

void BM_OpenJournalWindow(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto window = std::make_unique<TJournal>(nullptr);
        FillJournal(window->Store, journalRows);
        state.ResumeTiming();
        window->show(); // rebuilds the views
        benchmark::DoNotOptimize(window->grab());
        state.PauseTiming();
        window.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenJournalWindow)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_AppendSessionWhileOpen(benchmark::State& state) {
    TJournal window(nullptr);
    FillJournal(window.Store, journalRows);
    window.show();
    int i = journalRows;
    for (auto _ : state) {
        window.Store.AppendSession(BenchSession(i++));
        window.RefreshJournalViews();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_AppendSessionWhileOpen)->Unit(benchmark::kMillisecond);

template <typename Export> void ExportBench(benchmark::State& state, Export exportGrid) {
    JournalStore store;
    FillJournal(store, journalRows);
    QTemporaryDir folder;
    for (auto _ : state)
        exportGrid(store.jgrid, folder.filePath(QStringLiteral("journal")));
}

void BM_ExportCsv(benchmark::State& state) {
    ExportBench(state, [](const TCellGrid& grid, const QString& name) {
        grid.SaveToDelimitedFile(name + QStringLiteral(".csv"));
    });
}
BENCHMARK(BM_ExportCsv)->Unit(benchmark::kMillisecond);

void BM_ExportHtml(benchmark::State& state) {
    ExportBench(state, [](const TCellGrid& grid, const QString&) {
        benchmark::DoNotOptimize(GridHtml(grid));
    });
}
BENCHMARK(BM_ExportHtml)->Unit(benchmark::kMillisecond);

void BM_ExportText(benchmark::State& state) {
    ExportBench(state, [](const TCellGrid& grid, const QString&) {
        benchmark::DoNotOptimize(GridPlainText(grid));
    });
}
BENCHMARK(BM_ExportText)->Unit(benchmark::kMillisecond);
} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
