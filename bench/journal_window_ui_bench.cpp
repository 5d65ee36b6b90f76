// The journal window at 100 000 rows: opening it (rebuild and first paint), appending a
// session while it is open, the text exports, and switching to the "Graphique" page (the
// month totals brought up to date, the chart refreshed and painted).

#include "journal/grid_export.h"
#include "journal/journal_summary.h"
#include "journal/month_chart_series.h"
#include "journal/ui/journal_window.h"
#include "journal_bench_data.h"

#include "qt_benchmark_main.h"

#include <QApplication>
#include <QTabWidget>
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

void BM_OpenChartPage(benchmark::State& state) {
    TJournal window(nullptr);
    FillJournal(window.Store, journalRows);
    window.show(); // the journal is read once, as when the window opens
    QApplication::processEvents();
    for (auto _ : state) {
        window.PageControl1->setCurrentWidget(window.TabSheet3);
        benchmark::DoNotOptimize(window.grab());
        state.PauseTiming();
        window.PageControl1->setCurrentWidget(window.TabSheet1);
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenChartPage)->Unit(benchmark::kMillisecond);

void BM_ChartSeriesFromMonthTotals(benchmark::State& state) {
    JournalStore store;
    FillJournal(store, journalRows);
    TCellGrid months;
    JournalSummary summary(store, months);
    summary.Refresh(QStringLiteral("F"));
    for (auto _ : state)
        benchmark::DoNotOptimize(
            BuildMonthChartSeries(summary.Groups(), QDate(2026, 12, 7), {true, 3600, 10.0}));
}
BENCHMARK(BM_ChartSeriesFromMonthTotals)->Unit(benchmark::kMicrosecond);
} // namespace

TALLIVO_WIDGETS_BENCHMARK_MAIN()
