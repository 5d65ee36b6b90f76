// The one-second tick of a session: the period sums of the journal and the cost. Its cost
// must not grow with the journal.

#include "base/clock.h"
#include "journal/journal_store.h"
#include "qt_benchmark_main.h"
#include "tariff/cost.h"
#include "tariff/holidays.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>

namespace {
void FillJournal(JournalStore& store, int rows) {
    const QDate first(2025, 1, 1);
    for (int i = 0; i < rows; ++i) {
        SessionRecord record;
        record.connection = i % 5 ? QStringLiteral("Wanadoo") : QString();
        record.tariff = i % 3 ? QStringLiteral("Tarif local") : QStringLiteral("Forfait 20 h");
        record.date = first.addDays(i * 400 / std::max(rows, 1));
        record.startTime = QTime(8 + i % 12, i % 60, 0);
        record.durationSeconds = (i % 60) * 60;
        record.statsAvailable = true;
        record.received = 1000 + i;
        record.sent = 200 + i;
        record.cost = 0.01 * (i % 500);
        store.AppendSession(record);
    }
}

void BM_SessionTick(benchmark::State& state) {
    JournalStore store;
    FillJournal(store, int(state.range(0)));
    // The program reads the local time as a fixed offset from UTC (see SystemNow), so the
    // benchmark's moments carry one too; a Qt::LocalTime moment would consult the zone files.
    ManualClock clock(QDateTime(QDate(2026, 2, 10), QTime(18, 0, 0), Qt::OffsetFromUTC, 3600));
    SetAppClock(&clock);
    CostRates tariff;
    tariff.coutmin = 0.22;
    tariff.coutminc = 0.11;
    tariff.durfor = 20;
    const QString tariffName = QStringLiteral("Forfait 20 h");
    store.PeriodUsedSeconds(Now().date(), 15, tariffName); // the first tick reads the rows once
    double cost = 0;
    AllowanceState allowance;
    qint32 elapsed = 0;
    for (auto _ : state) {
        clock.advanceSeconds(1);
        const QDateTime now = Now();
        const OffPeakState period = IsOffPeak(now);
        const qint32 used = store.PeriodUsedSeconds(now.date(), 15, tariffName);
        const double periodCost = store.PeriodCost(now.date(), 15, tariffName);
        const CostOutcome outcome =
            ComputeSessionCost({tariff, ++elapsed, used, period.offPeak, cost, allowance});
        cost = outcome.sessionCost;
        allowance = outcome.allowance;
        benchmark::DoNotOptimize(CostCaption(QStringLiteral("Tallivo"), now, period));
        benchmark::DoNotOptimize(MonthCostHint(periodCost, cost, QStringLiteral("F")));
        benchmark::DoNotOptimize(MonthTimeHint(outcome.used));
    }
    SetAppClock(nullptr);
}
BENCHMARK(BM_SessionTick)->Arg(10)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);

// Reading the system's local time every tick: the offset kept between minutes, beside asking
// the C library each time (which reads /etc/localtime again).
void BM_SystemNow(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(Now());
}
BENCHMARK(BM_SystemNow);
void BM_SystemNowBaseline(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(QDateTime::currentDateTime());
}
BENCHMARK(BM_SystemNowBaseline);

// The tick at which the day (or the tariff) changes reads the rows' facts again once.
void BM_PeriodSumsAfterChangeOfDay(benchmark::State& state) {
    JournalStore store;
    FillJournal(store, int(state.range(0)));
    store.PeriodUsedSeconds(QDate(2026, 2, 10), 15, QStringLiteral("Tarif local"));
    QDate today(2026, 2, 10);
    for (auto _ : state) {
        today = today.addDays(1);
        benchmark::DoNotOptimize(store.PeriodUsedSeconds(today, 15, QStringLiteral("Tarif local")));
    }
}
BENCHMARK(BM_PeriodSumsAfterChangeOfDay)
    ->Arg(10)
    ->Arg(1000)
    ->Arg(100000)
    ->Unit(benchmark::kMicrosecond);
} // namespace

TALLIVO_BENCHMARK_MAIN()
