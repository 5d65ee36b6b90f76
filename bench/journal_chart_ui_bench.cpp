// The journal window's "Graphique" page at 100 000 rows: switching to it in the open window
// (the month totals brought up to date, the chart rebuilt and painted), and the chart's
// series alone.

#include "journal/journal_summary.h"
#include "journal/month_chart_series.h"
#include "journal/ui/journal_window.h"
#include "journal_bench_data.h"

#include <QApplication>
#include <QTabWidget>
#include <benchmark/benchmark.h>

namespace {
constexpr int journalRows = 100000;

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

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
