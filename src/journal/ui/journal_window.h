#pragma once

#include "journal/journal_store.h"
#include "journal/pending_sessions.h"
#include "journal/session_checkpoint.h"
#include "journal/session_record.h"

#include <QDialog>
#include <QHash>
#include <QList>
#include <QPointer>
#include <QProgressDialog>
#include <functional>

class GridTableModel;
class JournalSummary;
class MonthChart;
class OfficeConversion;
class QLabel;
class QPrinter;
class QPushButton;
class QTabWidget;
class QTableView;
class QTimer;
class TCellGrid;
class TOnlyOne;
class JournalPreload;

// The journal window. It exists for the whole run and owns the journal table; its creation
// loads the journal and turns a session interrupted by a crash into its row.
class TJournal : public QDialog {
    Q_OBJECT
  public:
    // guard: the single-instance guard; a second copy that hands over to the first one
    // leaves the files alone. preload: the journal read while the program started, if any.
    explicit TJournal(const TOnlyOne* guard, JournalPreload* preload = nullptr,
                      QWidget* parent = nullptr);
    ~TJournal() override;

    QTabWidget* PageControl1 = nullptr;
    QWidget* TabSheet1 = nullptr; // "Détail"
    QWidget* TabSheet2 = nullptr; // "Par mois"
    QWidget* TabSheet3 = nullptr; // "Graphique"

    JournalStore Store;
    TCellGrid* jgrid = &Store.jgrid; // the hidden journal table
    TCellGrid MonthTable;            // the month totals that mgrid shows

    QTableView* vgrid = nullptr;      // "Détail": a view on the journal table
    QTableView* mgrid = nullptr;      // "Par mois"
    QLabel* Label1 = nullptr;         // "Temps total :"
    QLabel* Label2 = nullptr;         // "Coût total :"
    QLabel* Label3 = nullptr;         // total duration
    QLabel* Label4 = nullptr;         // total cost, in red
    QLabel* Label5 = nullptr;         // "Total reçu :"
    QLabel* Label6 = nullptr;         // "Total envoyé :"
    QLabel* Label7 = nullptr;         // total received
    QLabel* Label8 = nullptr;         // total sent
    QLabel* EstimateLabel = nullptr;  // "Estimation fin de mois : 48,20 F (12 h 30 mn)"
    MonthChart* Chart = nullptr;      // "Graphique": the last 24 months
    MonthChart* MonthChartView();     // the chart, made on first use
    QPushButton* Button2 = nullptr;   // "Imprimer..."
    QPushButton* ExportBtn = nullptr; // "Exporter..."
    QPushButton* Button1 = nullptr;   // "Effacer le journal..."
    QPushButton* BitBtn1 = nullptr;   // "Fermer"

    void Button2Click();
    void ExportBtnClick();
    void Button1Click();
    void BitBtn1Click();
    // Exports the table of the active page; the office formats finish in the background.
    // From the chart page, the chart's PNG and SVG images follow the five table types.
    void ExportGrid(const TCellGrid& grid, bool chartImages = false);
    // Prints a table whole, after the page-range dialog; false when nothing was printed.
    bool PrintGrid(QPrinter& printer, const TCellGrid& grid);
    // Tells the user when a job failed, or waits in a stopped queue; returns `printed`.
    bool ReportPrinting(bool printed, const QPrinter& printer);
    bool ExportRunning() const;

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
    // Whether the program may end now: true unless a finished session is only in memory (its
    // row could be neither saved nor kept apart) and a new save fails, in which case the
    // user is asked whether to end all the same.
    bool MayEndProgram();
    // Asks first, then empties the journal, deletes its file and closes the window.
    void ClearJournal();
    void RefreshJournalViews();

    // Called at every tick of a counted session or chronometer run: keeps the running
    // session on disk (at its first tick, then every half minute) so that a crash loses at
    // most that much of it. The session's row is made only when a checkpoint is due.
    void CheckpointRunningSession(qint32 elapsed,
                                  const std::function<SessionRecord()>& runningSession);
    // The same at once, at the process's exit() that skips the windows' destruction.
    void CheckpointRunningSessionAtExit();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void BuildPages();
    // The tables die before the child widgets: the views let go of them first.
    void ReleaseViews();
    QWidget* BuildBottomPanel();
    void ScrollToLastRows();
    void FitMonthColumns();
    // The month-end estimate line and the chart, from the month totals.
    void ShowMonthEstimateAndChart(const QString& currencyUnit);
    void FollowDayChange();
    QString CurrencyUnit() const;
    bool WriteChartImage(bool svg, const QString& fileName);
    void ExportFinished(bool success, const QString& errorText);
    void FormCreate(JournalPreload* preload);
    void LoadJournal(JournalPreload* preload);
    // Sessions left on disk by an earlier run (a crash, a full disk) become their rows, once.
    void MergePendingSessions();
    // Once while the finished sessions are kept apart, once more if one is in memory only.
    void TellJournalNotSaved();
    QString JournalNotSavedText() const;
    // A second copy of the program that hands over to the first leaves the files alone.
    bool HandingOver() const;
    void FitColumns(int row);
    int TextWidth(const QString& text);
    // The same for a cell's UTF-8 text, read in place while it is ASCII.
    int TextWidth(std::string_view utf8);

    const TOnlyOne* guard;
    JournalSummary* summary = nullptr;
    GridTableModel* detailModel = nullptr;
    GridTableModel* monthModel = nullptr;
    OfficeConversion* conversion = nullptr;
    QPointer<QProgressDialog> exportProgress;
    CheckpointSchedule checkpoints;
    std::function<SessionRecord()> countedSession; // from its first checkpoint to its row
    PendingSessions pending;
    bool journalSaved = false;
    QString saveFailure; // why the last save failed, when the system said
    bool failureTold = false;
    bool unkeptTold = false;
    int unkeptSessions = 0;      // finished since the last save, in memory only
    QTimer* saveRetry = nullptr; // while the journal cannot be saved
    QTimer* dayChange = nullptr; // the next midnight, while the window is shown
    QList<int> widestText;       // per column, in pixels; empty until first needed
    QHash<QChar, int> characterWidths;
    QList<int> latin1Widths;
};
