#pragma once

#include "journal/journal_store.h"

// The benchmarks' journal: sessions of 40 a day from 1 January 2020, a fifth of them manual
// runs, a third on a second tariff, every other one without link statistics.
inline SessionRecord BenchSession(int i) {
    SessionRecord record;
    record.connection = i % 5 ? QStringLiteral("Wanadoo") : QString();
    record.tariff = i % 3 ? QStringLiteral("Tarif local") : QStringLiteral("Forfait 20 h");
    record.date = QDate(2020, 1, 1).addDays(i / 40);
    record.startTime = QTime(8 + i % 12, i % 60, i % 59);
    record.durationSeconds = (i % 60) * 60 + i % 57;
    record.statsAvailable = i % 2;
    record.received = 100000 + i;
    record.sent = 20000 + i;
    record.cost = 0.01 * (i % 997);
    return record;
}

inline void FillJournal(JournalStore& store, int rows) {
    store.jgrid.BeginUpdate();
    for (int i = 0; i < rows; ++i)
        store.AppendSession(BenchSession(i));
    store.jgrid.EndUpdate();
}
