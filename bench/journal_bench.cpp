// The journal at 10 000, 100 000 and 1 000 000 rows: load, save, memory, the first period
// query and a session's end, each beside the former per-cell store (bench/baseline) so that
// every figure reads as a ratio.
//   build/bench/journal_bench --benchmark_counters_tabular=true

#include "base/safe_write.h"
#include "baseline/per_cell_journal.h"
#include "journal/journal_store.h"
#include "journal_bench_data.h"
#include "qt_benchmark_main.h"

#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <malloc.h>

namespace {
QTemporaryDir& Folder() {
    static QTemporaryDir folder;
    return folder;
}

// A journal file of that many sessions, written once per run.
QString JournalFile(int rows) {
    static QHash<int, QString> written;
    if (!written.contains(rows)) {
        const QString name = Folder().filePath(QStringLiteral("tallivo-%1.jnl").arg(rows));
        JournalStore store;
        for (int i = 0; i < rows; ++i)
            store.AppendSession(BenchSession(i));
        store.SaveJournalFile(name);
        written.insert(rows, name);
    }
    return written.value(rows);
}

// Figures of this process from /proc/self/status, in bytes.
qint64 StatusBytes(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(qsizetype(strlen(field))).trimmed().split(' ').first().toLongLong() *
                   1024;
    return 0;
}

// Measures the peak and the memory kept of loading a journal: the peak is reset first.
template <typename Load> void MeasureMemory(benchmark::State& state, Load load) {
    const int rows = int(state.range(0));
    const QString name = JournalFile(rows);
    for (auto _ : state) {
        malloc_trim(0);
        QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
        if (clearRefs.open(QIODevice::WriteOnly))
            clearRefs.write("5"); // the peak starts again from now
        clearRefs.close();
        const qint64 before = StatusBytes("VmRSS:");
        auto kept = load(name);
        const qint64 after = StatusBytes("VmRSS:");
        const qint64 peak = StatusBytes("VmHWM:");
        state.counters["peak_MB"] = double(peak - before) / 1e6;
        state.counters["kept_B_per_row"] = double(after - before) / rows;
        state.counters["file_B_per_row"] = double(QFile(name).size()) / rows;
        benchmark::DoNotOptimize(kept.get());
    }
}

void BM_JournalMemory(benchmark::State& state) {
    MeasureMemory(state, [](const QString& name) {
        auto store = std::make_unique<JournalStore>();
        store->LoadJournalFile(name);
        return store;
    });
}
void BM_JournalMemoryBaseline(benchmark::State& state) {
    MeasureMemory(state, [](const QString& name) {
        auto store = std::make_unique<PerCellJournal>();
        store->Load(name);
        return store;
    });
}

void BM_JournalLoad(benchmark::State& state) {
    const QString name = JournalFile(int(state.range(0)));
    for (auto _ : state) {
        JournalStore store;
        store.LoadJournalFile(name);
        benchmark::DoNotOptimize(store.jgrid.RowCount());
    }
}
void BM_JournalLoadBaseline(benchmark::State& state) {
    const QString name = JournalFile(int(state.range(0)));
    for (auto _ : state) {
        PerCellJournal store;
        store.Load(name);
        benchmark::DoNotOptimize(store.rows.size());
    }
}

void BM_JournalSave(benchmark::State& state) {
    JournalStore store;
    store.LoadJournalFile(JournalFile(int(state.range(0))));
    const QString target = Folder().filePath(QStringLiteral("copy.jnl"));
    for (auto _ : state)
        store.SaveJournalFile(target);
}
void BM_JournalSaveBaseline(benchmark::State& state) {
    PerCellJournal store;
    store.Load(JournalFile(int(state.range(0))));
    const QString target = Folder().filePath(QStringLiteral("copy.jnl"));
    for (auto _ : state)
        benchmark::DoNotOptimize(WriteFileSafely(target, store.FileText()));
}

// The first tick of a session after start-up: the sums are ready since the load.
void BM_FirstPeriodQueryAfterLoad(benchmark::State& state) {
    JournalStore store;
    store.LoadJournalFile(JournalFile(int(state.range(0))));
    QDate today(2026, 3, 10);
    for (auto _ : state) {
        today = today.addDays(1); // a new day: nothing cached for it
        benchmark::DoNotOptimize(store.PeriodUsedSeconds(today, 1, QStringLiteral("Tarif local")));
    }
}
void BM_FirstPeriodQueryAfterLoadBaseline(benchmark::State& state) {
    PerCellJournal store;
    store.Load(JournalFile(int(state.range(0))));
    for (auto _ : state)
        benchmark::DoNotOptimize(
            store.PeriodSeconds(QDate(2026, 3, 10), 1, QStringLiteral("Tarif local")));
}

// A session's end on the window's thread: the row appended, duplicates looked for, the
// journal saved.
void BM_SessionEnd(benchmark::State& state) {
    JournalStore store;
    const QString target = Folder().filePath(QStringLiteral("end.jnl"));
    store.LoadJournalFile(JournalFile(int(state.range(0))));
    int i = int(state.range(0));
    for (auto _ : state) {
        store.AppendSession(BenchSession(i++));
        benchmark::DoNotOptimize(store.RemoveDuplicateRows());
        store.SaveJournalFile(target);
    }
}
void BM_SessionEndBaseline(benchmark::State& state) {
    PerCellJournal store;
    const QString target = Folder().filePath(QStringLiteral("end.jnl"));
    store.Load(JournalFile(int(state.range(0))));
    JournalStore rowMaker;
    int i = int(state.range(0));
    for (auto _ : state) {
        store.rows.append(rowMaker.SessionRowCells(BenchSession(i++)));
        benchmark::DoNotOptimize(store.CountDuplicates());
        benchmark::DoNotOptimize(WriteFileSafely(target, store.FileText()));
    }
}

void Sizes(benchmark::internal::Benchmark* bench) {
    bench->Arg(10'000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
}
BENCHMARK(BM_JournalMemory)->Apply(Sizes)->Iterations(1);
BENCHMARK(BM_JournalMemoryBaseline)->Apply(Sizes)->Iterations(1);
BENCHMARK(BM_JournalLoad)->Apply(Sizes)->MeasureProcessCPUTime();
BENCHMARK(BM_JournalLoadBaseline)->Apply(Sizes)->MeasureProcessCPUTime();
BENCHMARK(BM_JournalSave)->Apply(Sizes)->MeasureProcessCPUTime();
BENCHMARK(BM_JournalSaveBaseline)->Apply(Sizes)->MeasureProcessCPUTime();
BENCHMARK(BM_FirstPeriodQueryAfterLoad)->Arg(100'000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FirstPeriodQueryAfterLoadBaseline)->Arg(100'000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SessionEnd)->Arg(100'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SessionEndBaseline)->Arg(100'000)->Unit(benchmark::kMillisecond);
} // namespace

TALLIVO_BENCHMARK_MAIN()
