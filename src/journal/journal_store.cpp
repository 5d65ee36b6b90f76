#include "journal/journal_store.h"

#include "base/damaged_files.h"

#include "base/ascii_digits.h"
#include "base/clock.h"
#include "base/errors.h"
#include "base/formats.h"
#include "base/text_functions.h"
#include "journal/cell_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <algorithm>
#include <cmath>
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
QString ToQString(std::string_view text) {
    return Utf8CellText(text);
}

// The cells as the program writes them ("dd/mm/yyyy", "hh:nn:ss", "12,35") are read here
// without building texts, since a whole journal is read at once; any other form goes to the
// general readers (which take every form a user may have typed).
CalendarDay RowDay(std::string_view text) {
    if (text.size() == 10 && text[2] == '/' && text[5] == '/' &&
        AllAsciiDigits(text.substr(0, 2)) && AllAsciiDigits(text.substr(3, 2)) &&
        AllAsciiDigits(text.substr(6, 4))) {
        const int year = int(AsciiDigitsValue(text.substr(6, 4))),
                  month = int(AsciiDigitsValue(text.substr(3, 2))),
                  day = int(AsciiDigitsValue(text.substr(0, 2)));
        if (!QDate::isValid(year, month, day))
            return {};
        return {year, month, day, true};
    }
    return ToCalendarDay(ParseDateText(ToQString(text)));
}

qint64 RowSeconds(std::string_view text) {
    return Utf8DurationSeconds(text).value_or(0);
}

double RowCost(std::string_view text) {
    try {
        return CellUtf8ToFloat(text);
    } catch (const AppError&) {
        return 0;
    }
}

// Whether a copy kept aside already holds exactly the file's content.
bool SameContent(const QString& fileName, const QString& otherName) {
    QFile file(fileName), other(otherName);
    if (file.size() != other.size() || !file.open(QIODevice::ReadOnly) ||
        !other.open(QIODevice::ReadOnly))
        return false;
    constexpr qint64 chunk = 1 << 20;
    while (!file.atEnd())
        if (file.read(chunk) != other.read(chunk))
            return false;
    return true;
}

QString KeptCopyOf(const QString& fileName) {
    const QFileInfo info(fileName);
    const QStringList copies = info.dir().entryList(
        {info.fileName() + QStringLiteral(".endommage-*")}, QDir::Files, QDir::Name);
    for (const QString& copy : copies)
        if (SameContent(fileName, info.dir().filePath(copy)))
            return info.dir().filePath(copy);
    return {};
}

QString TooLargeText(const QString& fileName, const QString& keptAs) {
    return QStringLiteral("Le journal « %1 » dépasse 1 Gio : ce n'est pas un journal de "
                          "Tallivo. Il n'est pas lu et reste conservé sous le nom « %2 ».")
        .arg(fileName, keptAs.isEmpty() ? fileName : keptAs);
}
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
    if (changingGrid)
        return;
    sumsValid = false;
    duplicateRows.Invalidate();
}

void JournalStore::EnsureColumns() {
    if (jgrid.ColCount() < ColumnCount)
        jgrid.SetColCount(ColumnCount);
    while (ColumnWidths.size() < jgrid.ColCount())
        ColumnWidths.append(DefaultColumnWidth);
}

bool JournalStore::PutDamagedFileAside(const QString& fileName, bool move) {
    // A damaged file met again at the next start is not copied again.
    QString target = move ? QString() : KeptCopyOf(fileName);
    if (target.isEmpty())
        target = ::PutDamagedFileAside(fileName, move);
    if (target.isEmpty())
        return false;
    damagedCopy = target;
    damagedFile.clear();
    return true;
}

void JournalStore::LoadJournalFile(const QString& fileName) {
    FinishJournalRead(fileName, ReadJournalFile(fileName));
}

JournalStore::FileRead JournalStore::ReadJournalFile(const QString& fileName) {
    GridChange change(changingGrid);
    sumsValid = false;
    duplicateRows.Invalidate();
    FileRead read;
    const QFileInfo info(fileName);
    if (!info.exists() || info.size() > MaxFileSize) {
        read.outcome = info.exists() ? FileRead::Outcome::TooLarge : FileRead::Outcome::Missing;
        jgrid.Clear();
    } else {
        try {
            read.ignoredCells = LoadFromCellFile(jgrid, ColumnWidths, fileName);
            read.outcome = FileRead::Outcome::Read;
        } catch (const AppError& error) {
            read.outcome = FileRead::Outcome::Damaged; // the table keeps what was read
            read.error = error.message();
        }
    }
    EnsureColumns();
    RebuildIndexes();
    return read;
}

void JournalStore::FinishJournalRead(const QString& fileName, const FileRead& read) {
    switch (read.outcome) {
    case FileRead::Outcome::Missing:
        return;
    case FileRead::Outcome::TooLarge:
        // Moved, not copied: a copy of such a file could fill the disk.
        PutDamagedFileAside(fileName, true);
        throw AppError(TooLargeText(fileName, damagedCopy));
    case FileRead::Outcome::Damaged:
        damagedFile = fileName;
        PutDamagedFileAside(fileName, false);
        throw AppError(read.error);
    case FileRead::Outcome::Read:
        // Cells beyond the first line's counts are ignored, but the next save would drop
        // them for good: the file as it was is kept aside first.
        if (read.ignoredCells > 0) {
            damagedFile = fileName;
            PutDamagedFileAside(fileName, false);
        }
        return;
    }
}

void JournalStore::TakeJournalFrom(JournalStore& other) {
    GridChange change(changingGrid);
    jgrid.TakeCellsFrom(other.jgrid);
    ColumnWidths = other.ColumnWidths;
    sums = std::move(other.sums);
    lastTariff = std::move(other.lastTariff);
    lastTariffId = other.lastTariffId;
    duplicateRows = std::move(other.duplicateRows);
    sumsValid = other.sumsValid;
    other.sumsValid = false;
    other.duplicateRows.Invalidate();
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
    // Rounded as the windows showed it (0.015 shows 0,02, which %.2f writes 0,01).
    cells[Cout] = SignificantFixedText(std::isfinite(record.cost) ? record.cost : 0, 7,
                                       jgrid.FloatDecimals());
    return cells;
}

void JournalStore::AppendSession(const SessionRecord& record) {
    const bool sumsWereValid = sumsValid;
    {
        GridChange change(changingGrid);
        EnsureColumns();
        jgrid.AppendRow(SessionRowCells(record));
        if (jgrid.RowCells(0) != HeaderTexts())
            jgrid.SetRowCells(0, HeaderTexts()); // restores the header after a clear
    }
    if (sumsWereValid)
        AppendRowFacts(jgrid.RowCount() - 1);
    duplicateRows.Add(jgrid, jgrid.RowCount() - 1);
}

// The period sums and the duplicate index are built once, at load, and kept up to date by
// each append, so that neither the first tick nor a session's end reads the whole journal.
void JournalStore::RebuildIndexes() {
    ReadAllRowFacts();
    duplicateRows.Rebuild(jgrid);
}

bool JournalStore::ContainsSessionRow(const QStringList& cells) const {
    std::vector<QByteArray> wanted;
    for (int col = 0; col < ColumnCount; ++col)
        wanted.push_back(cells.value(col).toUtf8());
    const auto same = [&](int row) {
        for (int col = 0; col < ColumnCount; ++col)
            if (jgrid.CellUtf8(col, row) !=
                std::string_view(wanted[col].constData(), size_t(wanted[col].size())))
                return false;
        return true;
    };
    for (int row = jgrid.RowCount() - 1; row >= 1; --row)
        if (same(row))
            return true;
    return false;
}

void JournalStore::ClearJournal(const QString& fileName) {
    {
        GridChange change(changingGrid);
        jgrid.ClearCells();
        jgrid.SetRowCount(1);
    }
    ReadAllRowFacts();
    duplicateRows.Rebuild(jgrid);
    if (damagedFile == fileName && QFileInfo::exists(fileName)) {
        PutDamagedFileAside(fileName, true); // the user's old rows stay recoverable
        return;
    }
    QFile::remove(fileName);
}

int JournalStore::RemoveDuplicateRows() {
    if (!duplicateRows.Valid())
        duplicateRows.Rebuild(jgrid);
    if (!duplicateRows.HasDuplicates())
        return 0;
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
    RebuildIndexes();
    return removed;
}

void JournalStore::AppendRowFacts(int row) {
    const std::string_view tariff = jgrid.CellUtf8(Tarif, row);
    if (tariff != lastTariff) { // rows mostly share their tariff: no text built for them
        lastTariff = tariff;
        lastTariffId = sums.TariffId(ToQString(tariff));
    }
    sums.Append(RowDay(jgrid.CellUtf8(Date, row)), lastTariffId,
                RowSeconds(jgrid.CellUtf8(Duree, row)), RowCost(jgrid.CellUtf8(Cout, row)));
}

void JournalStore::ReadAllRowFacts() {
    sums.Clear();
    lastTariff = std::string();
    lastTariffId = -1;
    sums.Reserve(size_t(std::max(0, jgrid.RowCount() - 1)));
    for (int row = 1; row < jgrid.RowCount(); ++row)
        AppendRowFacts(row);
    sumsValid = true;
}

PeriodTotals JournalStore::CurrentPeriodTotals(const QDate& today, int firstDay,
                                               const QString& tariff) {
    if (!sumsValid)
        ReadAllRowFacts();
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
