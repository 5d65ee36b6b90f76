#include "journal/journal_store.h"

#include "base/damaged_files.h"

#include "base/clock.h"
#include "base/errors.h"
#include "base/formats.h"
#include "base/text_functions.h"
#include "journal/cell_file.h"
#include "journal/row_date.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <algorithm>
#include <limits>

namespace {
// Our own changes to the grid do not invalidate the sums: they update them directly.
class GridChange {
  public:
    explicit GridChange(bool& flag) : flag(flag), previous(flag) { flag = true; }
    ~GridChange() { flag = previous; }

  private:
    bool& flag;
    bool previous;
};
} // namespace

QStringList JournalStore::HeaderTexts() {
    return {QStringLiteral("Connexion"), QStringLiteral("Tarif"), QStringLiteral("Date"),
            QStringLiteral("Heure"),     QStringLiteral("Durée"), QStringLiteral("Reçu"),
            QStringLiteral("Envoyé"),    QStringLiteral("Coût")};
}

JournalStore::JournalStore(QObject* parent) : QObject(parent) {
    jgrid.SetColCount(ColumnCount);
    jgrid.SetFloatFormat(2);
    ColumnWidths = QList<int>(ColumnCount, DefaultColumnWidth);
    // Anyone else changing the grid (a view, a test) makes the sums be read again.
    const auto outdated = [this] { SumsOutdated(); };
    connect(&jgrid, &QAbstractItemModel::dataChanged, this, outdated);
    connect(&jgrid, &QAbstractItemModel::rowsInserted, this, outdated);
    connect(&jgrid, &QAbstractItemModel::rowsRemoved, this, outdated);
    connect(&jgrid, &QAbstractItemModel::rowsMoved, this, outdated);
    connect(&jgrid, &QAbstractItemModel::modelReset, this, outdated);
    connect(&jgrid, &QAbstractItemModel::columnsRemoved, this, outdated);
}

void JournalStore::SumsOutdated() {
    if (!changingGrid)
        sumsValid = false;
}

void JournalStore::EnsureColumns() {
    if (jgrid.ColCount() < ColumnCount)
        jgrid.SetColCount(ColumnCount);
    while (ColumnWidths.size() < jgrid.ColCount())
        ColumnWidths.append(DefaultColumnWidth);
}

bool JournalStore::PutDamagedFileAside(const QString& fileName, bool move) {
    const QString target = ::PutDamagedFileAside(fileName, move);
    if (target.isEmpty())
        return false;
    damagedCopy = target;
    damagedFile.clear();
    return true;
}

void JournalStore::LoadJournalFile(const QString& fileName) {
    GridChange change(changingGrid);
    sumsValid = false;
    if (!QFileInfo::exists(fileName)) {
        jgrid.Clear();
        EnsureColumns();
        return;
    }
    try {
        const int ignored = LoadFromCellFile(jgrid, ColumnWidths, fileName);
        EnsureColumns();
        // Cells beyond the first line's counts are ignored, but the next save would drop
        // them for good: the file as it was is kept aside first.
        if (ignored > 0) {
            damagedFile = fileName;
            PutDamagedFileAside(fileName, false);
        }
    } catch (const AppError&) {
        EnsureColumns();
        damagedFile = fileName;
        PutDamagedFileAside(fileName, false);
        throw;
    }
}

void JournalStore::SaveJournalFile(const QString& fileName) {
    if (jgrid.RowCount() <= 1)
        return;
    if (damagedFile == fileName && QFileInfo::exists(fileName) &&
        !PutDamagedFileAside(fileName, false))
        throw AppError(QStringLiteral("Cannot Create ") + fileName);
    EnsureColumns();
    SaveToCellFile(jgrid, ColumnWidths, fileName);
}

QStringList JournalStore::SessionRowCells(const SessionRecord& record) const {
    QStringList cells(ColumnCount);
    cells[Connexion] = record.connection.isEmpty() ? QStringLiteral("Manuel") : record.connection;
    cells[Tarif] = record.tariff;
    cells[Date] = DateText(record.date);
    cells[Heure] = TimeText(record.startTime);
    cells[Duree] = DurationText(record.durationSeconds);
    if (record.statsAvailable) {
        cells[Envoye] = QString::number(record.sent);
        cells[Recu] = QString::number(record.received);
    }
    cells[Cout] = FloatToCellText(record.cost, jgrid.FloatDecimals());
    return cells;
}

void JournalStore::AppendSession(const SessionRecord& record) {
    const bool sumsWereValid = sumsValid;
    {
        GridChange change(changingGrid);
        EnsureColumns();
        jgrid.AppendRow(SessionRowCells(record));
        jgrid.SetRowCells(0, HeaderTexts()); // restores the header after a clear
    }
    if (sumsWereValid)
        sums.Append(RowFacts(jgrid.RowCount() - 1));
}

bool JournalStore::ContainsSessionRow(const QStringList& cells) const {
    const QStringList wanted = cells.mid(0, ColumnCount);
    for (int row = jgrid.RowCount() - 1; row >= 1; --row)
        if (jgrid.RowCells(row).mid(0, ColumnCount) == wanted)
            return true;
    return false;
}

void JournalStore::ClearJournal(const QString& fileName) {
    {
        GridChange change(changingGrid);
        jgrid.ClearCells();
        jgrid.SetRowCount(1);
    }
    sums.Clear();
    sumsValid = true;
    if (damagedFile == fileName && QFileInfo::exists(fileName)) {
        PutDamagedFileAside(fileName, true); // the user's old rows stay recoverable
        return;
    }
    QFile::remove(fileName);
}

int JournalStore::RemoveDuplicateRows() {
    // Equal rows keep their first occurrence, as a repeated pairwise scan that always
    // deletes the later row of the first equal pair would, but in one pass.
    const int rowCount = jgrid.RowCount();
    QSet<QStringList> seen;
    seen.reserve(rowCount);
    QList<QStringList> kept;
    kept.reserve(rowCount);
    bool removedAny = false;
    for (int row = 1; row < rowCount; ++row) {
        QStringList cells = jgrid.RowCells(row);
        const QStringList key = cells.mid(0, ColumnCount);
        if (seen.contains(key)) {
            removedAny = true;
            continue;
        }
        seen.insert(key);
        kept.append(std::move(cells));
    }
    if (!removedAny)
        return 0;
    const int removed = rowCount - 1 - int(kept.size());
    {
        GridChange change(changingGrid);
        jgrid.BeginUpdate();
        jgrid.SetRowCount(int(kept.size()) + 1);
        for (int i = 0; i < kept.size(); ++i)
            jgrid.SetRowCells(i + 1, kept[i]);
        jgrid.EndUpdate();
    }
    sumsValid = false;
    return removed;
}

JournalRowFacts JournalStore::RowFacts(int row) const {
    JournalRowFacts facts;
    facts.date = ToCalendarDay(JournalRowDate(jgrid.Cells(Date, row)));
    facts.tariff = jgrid.Cells(Tarif, row);
    facts.seconds = DurationSeconds(jgrid.Cells(Duree, row)).value_or(0);
    try {
        facts.cost = jgrid.FloatCell(Cout, row);
    } catch (const AppError&) {
        facts.cost = 0;
    }
    return facts;
}

PeriodTotals JournalStore::CurrentPeriodTotals(const QDate& today, int firstDay,
                                               const QString& tariff) {
    if (!sumsValid) {
        std::vector<JournalRowFacts> rows;
        rows.reserve(std::max(0, jgrid.RowCount() - 1));
        for (int row = 1; row < jgrid.RowCount(); ++row)
            rows.push_back(RowFacts(row));
        sums.Reset(std::move(rows));
        sumsValid = true;
    }
    return sums.Totals(today, firstDay, tariff);
}

qint32 JournalStore::PeriodUsedSeconds(const QDate& today, int firstDay, const QString& tariff) {
    const qint64 seconds = CurrentPeriodTotals(today, firstDay, tariff).seconds;
    return static_cast<qint32>(std::clamp<qint64>(seconds, std::numeric_limits<qint32>::min(),
                                                  std::numeric_limits<qint32>::max()));
}

double JournalStore::PeriodCost(const QDate& today, int firstDay, const QString& tariff) {
    return CurrentPeriodTotals(today, firstDay, tariff).cost;
}
