#include "journal/ui/journal_window.h"
#include "base/log.h"

#include "app/single_instance.h"
#include "base/clock.h"
#include "base/damaged_files.h"
#include "base/errors.h"
#include "base/program_files.h"
#include "widgets/message_box.h"
#include "journal/ui/journal_table_style.h"

#include <QFile>
#include <QFontMetrics>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

TJournal::TJournal(const TOnlyOne* guard, QWidget* parent) : QDialog(parent), guard(guard) {
    setObjectName(QStringLiteral("Journal"));
    setWindowTitle(QStringLiteral("Journal"));
    resize(792, 573);
    auto* layout = new QVBoxLayout(this);
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setTabPosition(QTabWidget::South);
    TabSheet1 = new QWidget;
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    TabSheet2 = new QWidget;
    TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
    PageControl1->addTab(TabSheet1, QStringLiteral("Détail"));
    PageControl1->addTab(TabSheet2, QStringLiteral("Par mois"));
    TabSheet3 = new QWidget;
    TabSheet3->setObjectName(QStringLiteral("TabSheet3"));
    PageControl1->addTab(TabSheet3, QStringLiteral("Graphique"));
    layout->addWidget(PageControl1);
    jgrid->setObjectName(QStringLiteral("jgrid"));
    BuildPages();
    layout->addWidget(BuildBottomPanel());
    FormCreate();
}

TJournal::~TJournal() {
    ReleaseViews();
}

void TJournal::FormCreate() {
    LoadJournal();
    RecoverInterruptedSession();
    PageControl1->setCurrentWidget(TabSheet1);
}

bool TJournal::HandingOver() const {
    return guard && guard->TerminationRequested();
}

void TJournal::LoadJournal() {
    try {
        Store.LoadJournalFile(ProgramFiles::JournalFileName());
    } catch (const AppError& error) {
        // The file itself is kept: the store has copied it aside before anything can
        // replace it.
        ShowErrorBox(error.message());
    }
}

void TJournal::RecoverInterruptedSession() {
    const QString fileName = ProgramFiles::CheckpointFileName();
    if (HandingOver() || !QFile::exists(fileName))
        return;
    const std::optional<SessionRecord> record = ReadSessionCheckpoint(fileName);
    if (!record) {
        // Unreadable: kept under another name rather than lost or read again and again.
        PutDamagedFileAside(fileName, true);
        return;
    }
    // The row may already be there: the program ended after saving it but before it could
    // remove the checkpoint.
    if (!Store.ContainsSessionRow(Store.SessionRowCells(*record))) {
        Store.AppendSession(*record);
        FitColumns(Store.jgrid.RowCount() - 1);
        SaveJournal();
        if (!journalSaved)
            return; // tried again at the next start
    }
    RemoveSessionCheckpoint(fileName);
}

int TJournal::RowCount() const {
    return Store.jgrid.RowCount();
}

void TJournal::AppendSession(const SessionRecord& record) {
    const QString checkpoint = ProgramFiles::CheckpointFileName();
    // The checkpoint first holds the final row: whatever happens from here on, the next
    // start finds either this row in the journal or the checkpoint to make it from.
    if (!HandingOver())
        WriteSessionCheckpoint(checkpoint, record);
    Store.AppendSession(record);
    FitColumns(Store.jgrid.RowCount() - 1);
    RefreshJournalViews();
    journalSaved = false;
    if (SaveSettingsHook)
        SaveSettingsHook();
    if (!journalSaved)
        SaveJournal();
    if (journalSaved && !HandingOver())
        RemoveSessionCheckpoint(checkpoint);
    checkpoints.Reset();
}

void TJournal::SaveJournal() {
    if (HandingOver())
        return;
    try {
        Store.SaveJournalFile(ProgramFiles::JournalFileName());
        journalSaved = true;
    } catch (const AppError& error) {
        // The file on disk keeps its previous content.
        qCWarning(logFiles).noquote() << "journal not saved:" << error.message();
        journalSaved = false;
    }
}

void TJournal::ClearJournal() {
    if (!AskYesNo(QStringLiteral("Voulez-vous vraiment effacer tout le journal ?"), this))
        return;
    Store.ClearJournal(ProgramFiles::JournalFileName());
    widestText.clear();
    close();
}

void TJournal::CheckpointRunningSession(const SessionRecord& running) {
    if (HandingOver() || !checkpoints.Due(running.durationSeconds))
        return;
    if (WriteSessionCheckpoint(ProgramFiles::CheckpointFileName(), running))
        checkpoints.Written(running.durationSeconds);
}

int TJournal::TextWidth(const QString& text) {
    // Summed character advances: close enough for a column width, and quick enough to
    // measure a journal of a hundred thousand rows at once.
    static const QFontMetrics metrics(JournalTableFont());
    if (latin1Widths.isEmpty()) {
        latin1Widths.resize(256);
        for (int code = 0; code < 256; ++code)
            latin1Widths[code] = metrics.horizontalAdvance(QChar(code));
    }
    int width = 0;
    for (const QChar ch : text) {
        if (ch.unicode() < 256) { // the journal's usual characters, without a hash look-up
            width += latin1Widths[ch.unicode()];
            continue;
        }
        auto found = characterWidths.constFind(ch);
        if (found == characterWidths.constEnd())
            found = characterWidths.insert(ch, metrics.horizontalAdvance(ch));
        width += found.value();
    }
    return width;
}

void TJournal::FitColumns(int row) {
    const TCellGrid& grid = Store.jgrid;
    const int columns = grid.ColCount();
    if (widestText.size() != columns) {
        widestText = QList<int>(columns, 0);
        for (int r = 0; r < grid.RowCount(); ++r)
            for (int col = 0; col < columns; ++col)
                widestText[col] = std::max(widestText[col], TextWidth(grid.Cells(col, r)));
    } else {
        for (int col = 0; col < columns; ++col) {
            widestText[col] = std::max(widestText[col], TextWidth(grid.Cells(col, row)));
            widestText[col] = std::max(widestText[col], TextWidth(grid.Cells(col, 0)));
        }
    }
    Store.ColumnWidths = QList<int>(columns);
    for (int col = 0; col < columns; ++col)
        Store.ColumnWidths[col] = widestText[col] + JournalColumnMargin;
}
