#pragma once

#include "base/cell_grid.h"
#include "journal/duplicate_rows.h"
#include "journal/period_sums.h"
#include "journal/session_record.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

// The journal: one row per finished session in `jgrid` (8 columns, row 0 the header), its
// file, and the time and cost of the current allowance period kept ready for every tick.
class JournalStore : public QObject {
    Q_OBJECT
  public:
    enum Column { Connexion, Tarif, Date, Heure, Duree, Recu, Envoye, Cout, ColumnCount };
    static QStringList HeaderTexts();

    explicit JournalStore(QObject* parent = nullptr);

    TCellGrid jgrid;
    QList<int> ColumnWidths; // display widths, written on the file's "cw" lines

    int SessionRowCount() const { return jgrid.RowCount() - 1; }

    // A journal file larger than this is no journal: it is not read, and kept as it is.
    static constexpr qint64 MaxFileSize = qint64(1) << 30;

    // Reads the journal file. A missing file leaves an empty table and is no error.
    // Throws AppError with the file's error text; the table keeps what was read, and the
    // damaged file is copied aside (see DamagedCopyName) before anything can replace it,
    // once for a given content. A file over MaxFileSize is refused and moved aside.
    void LoadJournalFile(const QString& fileName);
    // LoadJournalFile in two steps. The read fills the table, the widths and the indexes from
    // the file and changes nothing on disk, so that it may run on another thread while the
    // program starts; the finish does what the read calls for on disk (a damaged or too large
    // file put aside) and throws as LoadJournalFile does.
    struct FileRead {
        enum class Outcome { Missing, Read, TooLarge, Damaged };
        Outcome outcome = Outcome::Missing;
        int ignoredCells = 0; // cell lines outside the table
        QString error;        // the reader's text, when damaged
    };
    FileRead ReadJournalFile(const QString& fileName);
    void FinishJournalRead(const QString& fileName, const FileRead& read);
    // Takes the table, widths and indexes that another store has read.
    void TakeJournalFrom(JournalStore& other);
    // Writes the journal file when the table holds at least one session. Throws AppError
    // "Cannot Create <name>"; a damaged file that could not be put aside is never replaced.
    void SaveJournalFile(const QString& fileName);
    // The copy made of a damaged journal file, or empty.
    QString DamagedCopyName() const { return damagedCopy; }

    // The row of a finished session: "Manuel" without connection name, the byte columns
    // empty without statistics, the cost with the grid's "%.2f".
    QStringList SessionRowCells(const SessionRecord& record) const;
    void AppendSession(const SessionRecord& record);
    bool ContainsSessionRow(const QStringList& cells) const;
    // Empties the table down to one row and deletes the file (a damaged one is moved aside).
    void ClearJournal(const QString& fileName);
    // Keeps the first of rows equal in all eight cells; returns how many were removed.
    int RemoveDuplicateRows();

    // Time and cost recorded in the allowance period containing `today` that starts on day
    // `firstDay`, for the tariff named `tariff`.
    PeriodTotals CurrentPeriodTotals(const QDate& today, int firstDay, const QString& tariff);
    qint32 PeriodUsedSeconds(const QDate& today, int firstDay, const QString& tariff);
    double PeriodCost(const QDate& today, int firstDay, const QString& tariff);

  private:
    void AppendRowFacts(int row);
    void ReadAllRowFacts();
    void EnsureColumns();
    void SumsOutdated();
    void RebuildIndexes();
    bool PutDamagedFileAside(const QString& fileName, bool move);

    PeriodSums sums;
    std::string lastTariff; // the tariff of the last row read, and its number in `sums`
    int lastTariffId = -1;
    DuplicateRowIndex duplicateRows{ColumnCount};
    bool sumsValid = false;
    bool changingGrid = false; // our own changes keep the sums up to date themselves
    QString damagedFile;       // a journal file that failed to load and is not yet aside
    QString damagedCopy;
};
