#pragma once

#include "journal/journal_store.h"
#include "journal/pending_sessions.h"
#include "journal/session_checkpoint.h"
#include "journal/session_record.h"

#include <QDialog>
#include <QHash>
#include <QList>
#include <functional>

class QTabWidget;
class TCellGrid;
class TOnlyOne;

// The journal window. It exists for the whole run and owns the journal table; its creation
// loads the journal and turns a session interrupted by a crash into its row.
class TJournal : public QDialog {
    Q_OBJECT
  public:
    // guard: the single-instance guard; a second copy that hands over to the first one
    // leaves the files alone.
    explicit TJournal(const TOnlyOne* guard, QWidget* parent = nullptr);

    QTabWidget* PageControl1 = nullptr;
    QWidget* TabSheet1 = nullptr; // "Détail"
    QWidget* TabSheet2 = nullptr; // "Par mois"

    JournalStore Store;
    TCellGrid* jgrid = &Store.jgrid; // the hidden journal table

    // Rows in the journal table, header included.
    int RowCount() const;
    // The finished session becomes a row; the settings, tariff file and journal file are
    // saved (the settings through SaveSettingsHook, which saves the journal file too).
    void AppendSession(const SessionRecord& record);
    std::function<void()> SaveSettingsHook;
    // Writes the journal file when it holds a session. A failure keeps the finished sessions
    // in their pending files and is told once (until a save succeeds again), after the
    // current handler has ended.
    void SaveJournal();
    // Asks first, then empties the journal, deletes its file and closes the window.
    void ClearJournal();
    void RefreshJournalViews();

    // Called at every tick of a counted session or chronometer run: keeps the running
    // session on disk (at its first tick, then every half minute) so that a crash loses at
    // most that much of it.
    void CheckpointRunningSession(const SessionRecord& running);

  private:
    void FormCreate();
    void LoadJournal();
    // Sessions left on disk by an earlier run (a crash, a full disk) become their rows, once.
    void MergePendingSessions();
    void TellJournalNotSaved();
    // A second copy of the program that hands over to the first leaves the files alone.
    bool HandingOver() const;
    void FitColumns(int row);
    int TextWidth(const QString& text);

    const TOnlyOne* guard;
    CheckpointSchedule checkpoints;
    PendingSessions pending;
    bool journalSaved = false;
    bool failureTold = false;
    QList<int> widestText; // per column, in pixels; empty until first needed
    QHash<QChar, int> characterWidths;
};
