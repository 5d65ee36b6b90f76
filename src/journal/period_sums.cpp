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

bool PeriodSums::Counts(const Row& row, const CalendarDay& today, int firstDay, int tariffId) {
    return row.tariffId == tariffId && InAllowancePeriod(row.date, today, firstDay);
}

void PeriodSums::Append(const JournalRowFacts& facts) {
    const Row row{facts.date, TariffId(facts.tariff), facts.seconds, facts.cost};
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
        rows.push_back({facts.date, TariffId(facts.tariff), facts.seconds, facts.cost});
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
