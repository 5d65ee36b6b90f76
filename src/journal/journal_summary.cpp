#include "journal/journal_summary.h"

#include "base/errors.h"
#include "base/formats.h"
#include "base/text_functions.h"
#include "journal/journal_store.h"
#include "journal/row_date.h"

#include <QLocale>
#include <algorithm>
#include <limits>

void JournalSums::Add(const JournalSums& other) {
    seconds += other.seconds;
    received += other.received;
    sent += other.sent;
    cost += other.cost;
}

std::optional<JournalSums> ReadRowSums(const TCellGrid& journal, int row) {
    const std::optional<qint64> seconds =
        Utf8DurationSeconds(journal.CellUtf8(JournalStore::Duree, row));
    if (!seconds)
        return std::nullopt;
    JournalSums sums;
    sums.seconds = *seconds;
    try {
        sums.cost = journal.FloatCell(JournalStore::Cout, row);
        if (!journal.CellUtf8(JournalStore::Recu, row).empty())
            sums.received = journal.FloatCell(JournalStore::Recu, row);
        if (!journal.CellUtf8(JournalStore::Envoye, row).empty())
            sums.sent = journal.FloatCell(JournalStore::Envoye, row);
    } catch (const AppError&) {
        return std::nullopt;
    }
    return sums;
}

QString MonthGroupTitle(int month, int year) {
    static const QLocale french(QLocale::French, QLocale::France);
    return french.monthName(month, QLocale::LongFormat) + QLatin1Char(' ') + QString::number(year);
}

QString SumAmountText(double amount, const QString& currencyUnit) {
    return FixedText(amount, 2) + QLatin1Char(' ') + currencyUnit;
}

QStringList MonthHeaderTexts() {
    return {QStringLiteral("Mois"), QStringLiteral("Durée"), QStringLiteral("Reçu"),
            QStringLiteral("Envoyé"), QStringLiteral("Coût")};
}

namespace {
QString TotalDurationText(qint64 seconds) {
    // Beyond what the 32-bit counter of the duration text holds, the largest it can show.
    constexpr qint64 largest = std::numeric_limits<qint32>::max();
    return DurationText(static_cast<qint32>(std::clamp(seconds, qint64(0), largest)));
}
} // namespace

QStringList MonthRowCells(const MonthGroup& group, const QString& currencyUnit) {
    return {MonthGroupTitle(group.month, group.year), TotalDurationText(group.sums.seconds),
            ByteSizeText(group.sums.received), ByteSizeText(group.sums.sent),
            SumAmountText(group.sums.cost, currencyUnit)};
}

JournalTotalsTexts TotalsTexts(const JournalSums& sums, const QString& currencyUnit) {
    return {TotalDurationText(sums.seconds), SumAmountText(sums.cost, currencyUnit),
            ByteSizeText(sums.received), ByteSizeText(sums.sent)};
}

JournalSummary::JournalSummary(JournalStore& store, TCellGrid& months, QObject* parent)
    : QObject(parent), store(store), months(months) {
    months.SetColCount(int(MonthHeaderTexts().size()));
    months.SetFloatFormat(2);
    months.SetRowCells(0, MonthHeaderTexts());
    WatchJournal();
}

void JournalSummary::WatchJournal() {
    // Rows appended at the end are read at the next refresh; a change to rows already read
    // (the header row aside) makes it read the whole journal again.
    TCellGrid& journal = store.jgrid;
    connect(&journal, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& topLeft, const QModelIndex& bottomRight) {
                if (bottomRight.row() >= 1 && topLeft.row() < rowsRead)
                    Forget();
            });
    connect(&journal, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex&, int first, int) {
                if (first < rowsRead)
                    Forget();
            });
    connect(&journal, &QAbstractItemModel::rowsRemoved, this,
            [this](const QModelIndex&, int first, int) {
                if (first < rowsRead)
                    Forget();
            });
    const auto forget = [this] { Forget(); };
    connect(&journal, &QAbstractItemModel::modelReset, this, forget);
    connect(&journal, &QAbstractItemModel::layoutChanged, this, forget);
    connect(&journal, &QAbstractItemModel::rowsMoved, this, forget);
    connect(&journal, &QAbstractItemModel::columnsInserted, this, forget);
    connect(&journal, &QAbstractItemModel::columnsRemoved, this, forget);
}

void JournalSummary::Forget() {
    rowsRead = 1; // the totals stay readable until a whole read replaces them
    groups.clear();
}

int JournalSummary::RemoveRepeatedRows() {
    const int removed = store.RemoveDuplicateRows();
    if (removed > 0)
        Forget(); // the journal was rewritten: read again whole
    return removed;
}

JournalSummary::Outcome JournalSummary::Refresh(const QString& currencyUnit) {
    const int removed = RemoveRepeatedRows();
    const bool wasIncremental = rowsRead > 1;
    Outcome outcome = ReadNewRows(currencyUnit);
    if (!outcome.complete && wasIncremental) {
        // What a stop leaves on screen is what a whole rebuild stopping there leaves.
        Forget();
        outcome = ReadNewRows(currencyUnit);
    }
    if (!outcome.complete)
        Forget();
    outcome.rowsRemoved = removed;
    return outcome;
}

JournalSummary::Outcome JournalSummary::ReadNewRows(const QString& currencyUnit) {
    const TCellGrid& journal = store.jgrid;
    const int first = rowsRead;
    const int end = journal.RowCount();
    const bool whole = first == 1;
    rowsReadLastTime = end - first;
    Outcome outcome;

    std::vector<JournalSums> rowSums;
    rowSums.reserve(std::max(0, end - first));
    JournalSums added;
    for (int row = first; row < end; ++row) {
        const std::optional<JournalSums> sums = ReadRowSums(journal, row);
        if (!sums)
            return outcome;
        added.Add(*sums);
        rowSums.push_back(*sums);
    }
    if (whole)
        totals = {};
    totals.Add(added);
    outcome.totalsRead = true;

    // Groups already written keep their rows; the last one may grow, and a changed currency
    // unit rewrites them all.
    const bool unitChanged = currencyUnit != unit;
    unit = currencyUnit;
    int firstChanged = whole || unitChanged ? 0 : std::max(0, int(groups.size()) - 1);
    if (whole)
        groups.clear();
    for (int row = first; row < end; ++row) {
        const QDate date = JournalRowDate(journal.Cells(JournalStore::Date, row));
        if (!date.isValid()) {
            // The group still open is not finished: only the groups before it are shown.
            WriteMonthRows(firstChanged, std::max(0, int(groups.size()) - 1), whole);
            return outcome;
        }
        // The same month a year later is a month of its own, not more of the former one.
        if (groups.empty() || groups.back().month != date.month() ||
            groups.back().year != date.year())
            groups.push_back({date.month(), date.year(), {}});
        groups.back().sums.Add(rowSums[size_t(row - first)]);
    }
    WriteMonthRows(firstChanged, int(groups.size()), whole);
    rowsRead = end;
    outcome.complete = true;
    return outcome;
}

void JournalSummary::WriteMonthRows(int firstGroup, int groupCount, bool wholeTable) {
    if (wholeTable) {
        months.BeginUpdate();
        months.SetRowCount(1);
    }
    months.SetRowCells(0, MonthHeaderTexts());
    for (int i = firstGroup; i < groupCount; ++i) {
        const QStringList cells = MonthRowCells(groups[size_t(i)], unit);
        if (i + 1 < months.RowCount())
            months.SetRowCells(i + 1, cells);
        else
            months.AppendRow(cells);
    }
    if (wholeTable)
        months.EndUpdate();
}
