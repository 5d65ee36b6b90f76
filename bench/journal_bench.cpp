// Journal file load and save, and duplicate removal, at 100 000 rows.

#include "journal/journal_store.h"
#include "journal_bench_data.h"
#include "qt_benchmark_main.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {
constexpr int journalRows = 100000;

QString JournalFile(const QTemporaryDir& folder) {
    static bool written = false;
    const QString name = folder.filePath(QStringLiteral("tallivo.jnl"));
    if (!written) {
        JournalStore store;
        FillJournal(store, journalRows);
        store.SaveJournalFile(name);
        written = true;
    }
    return name;
}

QTemporaryDir& Folder() {
    static QTemporaryDir folder;
    return folder;
}

void BM_LoadJournal(benchmark::State& state) {
    const QString name = JournalFile(Folder());
    for (auto _ : state) {
        JournalStore store;
        store.LoadJournalFile(name);
        benchmark::DoNotOptimize(store.jgrid.RowCount());
    }
}
BENCHMARK(BM_LoadJournal)->Unit(benchmark::kMillisecond);

void BM_SaveJournal(benchmark::State& state) {
    JournalStore store;
    store.LoadJournalFile(JournalFile(Folder()));
    const QString target = Folder().filePath(QStringLiteral("copy.jnl"));
    for (auto _ : state)
        store.SaveJournalFile(target);
}
BENCHMARK(BM_SaveJournal)->Unit(benchmark::kMillisecond);

void BM_RemoveDuplicateRows(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        JournalStore store;
        FillJournal(store, journalRows / 2);
        // Every row twice: half the rows go.
        for (int row = 1, rows = store.jgrid.RowCount(); row < rows; ++row)
            store.jgrid.AppendRow(store.jgrid.RowCells(row));
        state.ResumeTiming();
        benchmark::DoNotOptimize(store.RemoveDuplicateRows());
    }
}
BENCHMARK(BM_RemoveDuplicateRows)->Unit(benchmark::kMillisecond);

void BM_RemoveDuplicateRowsNoneFound(benchmark::State& state) {
    JournalStore store;
    FillJournal(store, journalRows);
    for (auto _ : state)
        benchmark::DoNotOptimize(store.RemoveDuplicateRows());
}
BENCHMARK(BM_RemoveDuplicateRowsNoneFound)->Unit(benchmark::kMillisecond);

// The first period query after a load reads every row's date, duration and cost once.
void BM_FirstPeriodQueryAfterLoad(benchmark::State& state) {
    const QString name = JournalFile(Folder());
    for (auto _ : state) {
        state.PauseTiming();
        JournalStore store;
        store.LoadJournalFile(name);
        state.ResumeTiming();
        benchmark::DoNotOptimize(
            store.PeriodUsedSeconds(QDate(2026, 3, 10), 1, QStringLiteral("Tarif local")));
    }
}
BENCHMARK(BM_FirstPeriodQueryAfterLoad)->Unit(benchmark::kMillisecond);
} // namespace

TALLIVO_BENCHMARK_MAIN()
