#pragma once

#include "base/cell_grid.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

class JournalStore;

// Duration, bytes and cost added up over journal rows.
struct JournalSums {
    qint64 seconds = 0;
    double received = 0;
    double sent = 0;
    double cost = 0;
    void Add(const JournalSums& other);
};

// One row of the per-month table: the rows of one run of a month number in stored order,
// labelled with the year of its first row.
struct MonthGroup {
    int month = 0;
    int year = 0;
    JournalSums sums;
};

// What a journal row adds to the sums: "Durée" in hours:minutes:seconds, "Coût" as a number
// (empty counts 0), "Reçu" and "Envoyé" as numbers (empty ones add nothing). Nothing when
// one of these cells does not read.
std::optional<JournalSums> ReadRowSums(const TCellGrid& journal, int row);

// "février 2003": French month names, whatever the user's own language.
QString MonthGroupTitle(int month, int year);
// Two decimals, the decimal comma, a blank and the currency unit: "12,50 F".
QString SumAmountText(double amount, const QString& currencyUnit);
QStringList MonthHeaderTexts(); // "Mois", "Durée", "Reçu", "Envoyé", "Coût"
QStringList MonthRowCells(const MonthGroup& group, const QString& currencyUnit);

// The texts of the totals panel: duration, cost, received, sent.
struct JournalTotalsTexts {
    QString duration, cost, received, sent;
};
JournalTotalsTexts TotalsTexts(const JournalSums& sums, const QString& currencyUnit);

// Keeps the journal's overall totals and its per-month table up to date. While the journal
// only grows at its end, a refresh reads just the rows appended since the previous one; any
// other change to the journal makes the next refresh read it whole.
class JournalSummary : public QObject {
    Q_OBJECT
  public:
    JournalSummary(JournalStore& store, TCellGrid& months, QObject* parent = nullptr);

    struct Outcome {
        bool totalsRead = false; // every row's numbers read: Totals() is current
        bool complete = false;   // the month table is complete too
        int rowsRemoved = 0;     // repeated journal rows removed
    };
    // Removes repeated journal rows, then brings the totals and the month table up to date.
    // A cell that does not read stops it there: the totals are left as they were when a
    // number or duration does not read; the month table keeps the months finished before a
    // date that does not read.
    Outcome Refresh(const QString& currencyUnit);
    // Removes repeated journal rows (the store's index knows at once whether there are any);
    // the number removed.
    int RemoveRepeatedRows();

    const JournalSums& Totals() const { return totals; }
    const std::vector<MonthGroup>& Groups() const { return groups; }
    // Journal rows read by the last refresh (a whole journal, or only the appended rows).
    int RowsReadLastTime() const { return rowsReadLastTime; }

  private:
    void Forget();
    void WatchJournal();
    Outcome ReadNewRows(const QString& currencyUnit);
    void WriteMonthRows(int firstGroup, int groupCount, bool wholeTable);

    JournalStore& store;
    TCellGrid& months;
    int rowsRead = 1; // journal rows 1 .. rowsRead - 1 are in the sums
    int rowsReadLastTime = 0;
    JournalSums totals;
    std::vector<MonthGroup> groups;
    QString unit;
};
