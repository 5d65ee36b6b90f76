#include "journal/period_sums.h"

namespace {
bool SameDay(const CalendarDay& a, const CalendarDay& b) {
    return a.valid == b.valid && a.year == b.year && a.month == b.month && a.day == b.day;
}
} // namespace

void PeriodSums::Clear() {
    rows.clear();
    tariffIds.clear();
    cache = {};
}

int PeriodSums::TariffId(const QString& tariff) {
    const auto found = tariffIds.constFind(tariff);
    if (found != tariffIds.constEnd())
        return found.value();
    const int id = int(tariffIds.size());
    tariffIds.insert(tariff, id);
    return id;
}

// A year far beyond any period asked about counts as no date: such a row is outside anyway.
qint32 PeriodSums::PackedDay(const CalendarDay& date) {
    if (!date.valid || date.year < 1 || date.year > 1'000'000)
        return 0;
    return date.year * 512 + date.month * 32 + date.day;
}

bool PeriodSums::Counts(const Row& row, const CalendarDay& today, int firstDay, int tariffId) {
    if (row.tariffId != tariffId || row.date == 0)
        return false;
    const CalendarDay date{row.date / 512, row.date / 32 % 16, row.date % 32, true};
    return InAllowancePeriod(date, today, firstDay);
}

void PeriodSums::Append(const JournalRowFacts& facts) {
    Append(facts.date, TariffId(facts.tariff), facts.seconds, facts.cost);
}

void PeriodSums::Append(const CalendarDay& date, int tariffId, qint64 seconds, double cost) {
    const Row row{PackedDay(date), tariffId, seconds, cost};
    rows.push_back(row);
    if (cache.valid && Counts(row, cache.today, cache.firstDay, cache.tariffId)) {
        cache.totals.seconds += row.seconds;
        cache.totals.cost += row.cost;
    }
}

void PeriodSums::Reset(std::vector<JournalRowFacts> newRows) {
    Clear();
    rows.reserve(newRows.size());
    for (const JournalRowFacts& facts : newRows)
        rows.push_back({PackedDay(facts.date), TariffId(facts.tariff), facts.seconds, facts.cost});
}

PeriodTotals PeriodSums::Totals(const QDate& todayDate, int firstDay, const QString& tariff) {
    const CalendarDay today = ToCalendarDay(todayDate);
    const int tariffId = TariffId(tariff);
    if (cache.valid && cache.firstDay == firstDay && cache.tariffId == tariffId &&
        SameDay(cache.today, today))
        return cache.totals;

    PeriodTotals totals;
    for (const Row& row : rows)
        if (Counts(row, today, firstDay, tariffId)) {
            totals.seconds += row.seconds;
            totals.cost += row.cost;
        }
    cache = {true, today, firstDay, tariffId, totals};
    return totals;
}
