#pragma once

#include "journal/allowance_period.h"

#include <QHash>
#include <QString>
#include <vector>

// What the period queries need of one journal row, read once from its cells.
struct JournalRowFacts {
    CalendarDay date;   // invalid when the "Date" cell does not read as a date
    QString tariff;     // the "Tarif" cell
    qint64 seconds = 0; // the "Durée" cell; 0 when it does not read
    double cost = 0;    // the "Coût" cell; 0 when it does not read
};

struct PeriodTotals {
    qint64 seconds = 0;
    double cost = 0;
};

// The time and cost recorded in the current allowance period for one tariff, kept up to date
// as rows are appended, so that asking every second costs the same whatever the journal's
// size. A change of day, of the period's first day or of the tariff asked about rebuilds
// the answer once from the rows' facts.
class PeriodSums {
  public:
    void Clear();
    void Reserve(size_t rowCount) { rows.reserve(rowCount); }
    // The number a tariff name is known by in Append.
    int TariffId(const QString& tariff);
    void Append(const JournalRowFacts& facts);
    void Append(const CalendarDay& date, int tariffId, qint64 seconds, double cost);
    // Replaces every row's facts (after a load, a clear or a duplicate removal).
    void Reset(std::vector<JournalRowFacts> rows);
    int RowCount() const { return int(rows.size()); }

    PeriodTotals Totals(const QDate& today, int firstDay, const QString& tariff);

  private:
    // 24 bytes a row: the date packed as year * 512 + month * 32 + day, or 0 when invalid.
    struct Row {
        qint32 date;
        qint32 tariffId;
        qint64 seconds;
        double cost;
    };
    static qint32 PackedDay(const CalendarDay& date);
    static bool Counts(const Row& row, const CalendarDay& today, int firstDay, int tariffId);

    std::vector<Row> rows;
    QHash<QString, int> tariffIds;

    struct CachedQuery {
        bool valid = false;
        CalendarDay today;
        int firstDay = 0;
        int tariffId = -1;
        PeriodTotals totals;
    } cache;
};
