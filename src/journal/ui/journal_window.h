#pragma once

#include "journal/journal_store.h"
#include "journal/session_checkpoint.h"

#include <QDialog>
#include <QHash>
#include <QList>

class QTabWidget;
class TCellGrid;

// The journal window. It exists for the whole run and owns the journal table; its creation
// loads the journal, turns a session interrupted by a crash into its row and, as its last
// step, starts the session monitor.
class TJournal : public QDialog {
    Q_OBJECT
  public:
    explicit TJournal(QWidget* parent = nullptr);
    // Appends the session or chronometer run still being counted.
    ~TJournal() override;

    QTabWidget* PageControl1 = nullptr;
    QWidget* TabSheet1 = nullptr; // "Détail"
    QWidget* TabSheet2 = nullptr; // "Par mois"

    JournalStore Store;
    TCellGrid* jgrid = &Store.jgrid; // the hidden journal table

    // Rows in the journal table, header included.
    int RowCount() const;
    // The finished session (main window's state) becomes a row; the settings, tariff file
    // and journal file are saved.
    void AppendSession();
    // Writes the journal file when it holds a session; errors end the save silently.
    void SaveJournal();
    // Asks first, then empties the journal, deletes its file and closes the window.
    void ClearJournal();
    void RefreshJournalViews();

    // The period sums for the cost: the selected tariff (main window's Label28), the
    // allowance's first day (debfor) and today. On that first day dch and dcm are set to 0
    // and locked.
    qint32 PeriodUsedSeconds();
    double PeriodCost();

    // Called at every tick of a counted session or chronometer run: keeps the running
    // session on disk (at its first tick, then every half minute) so that a crash loses at
    // most that much of it.
    void CheckpointRunningSession(qint32 elapsed);

  private:
    void FormCreate();
    void LoadJournal();
    void RecoverInterruptedSession();
    SessionRecord RunningSession() const;
    bool SessionIsCounted() const;
    // A second copy of the program that hands over to the first leaves the files alone.
    bool HandingOver() const;
    void FitColumns(int row);
    int TextWidth(const QString& text);

    CheckpointSchedule checkpoints;
    bool journalSaved = false;
    QList<int> widestText; // per column, in pixels; empty until first needed
    QHash<QChar, int> characterWidths;
};
