#include "journal/ui/journal_window.h"
#include "base/log.h"

#include "app/single_instance.h"
#include "base/clock.h"
#include "base/errors.h"
#include "base/program_files.h"
#include "journal/journal_preload.h"
#include "journal/ui/journal_table_style.h"
#include "widgets/message_box.h"

#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdlib>

namespace {
TJournal* journalOfThisProcess = nullptr;

// Qt ends the program with exit() when the X server goes away (a logout without a session
// manager): no window is destroyed then, so the session being counted is checkpointed as it
// stands, and the next start makes its whole row from it.
void CheckpointAtExit() {
    if (journalOfThisProcess)
        journalOfThisProcess->CheckpointRunningSessionAtExit();
}
} // namespace

TJournal::TJournal(const TOnlyOne* guard, JournalPreload* preload, QWidget* parent)
    : QDialog(parent), guard(guard), pending(ProgramFiles::CheckpointFileName()) {
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
    // A disk that was full may have room again: sessions held in memory are not left there
    // until the next one ends.
    saveRetry = new QTimer(this);
    saveRetry->setInterval(30'000);
    connect(saveRetry, &QTimer::timeout, this, &TJournal::SaveJournal);
    dayChange = new QTimer(this);
    dayChange->setSingleShot(true);
    connect(dayChange, &QTimer::timeout, this, [this] {
        if (!isVisible())
            return;
        ShowMonthEstimateAndChart(CurrencyUnit());
        FollowDayChange();
    });
    FormCreate(preload);
    journalOfThisProcess = this;
}

TJournal::~TJournal() {
    if (journalOfThisProcess == this)
        journalOfThisProcess = nullptr;
    ReleaseViews();
}

void TJournal::FormCreate(JournalPreload* preload) {
    LoadJournal(preload);
    MergePendingSessions();
    PageControl1->setCurrentWidget(TabSheet1);
}

bool TJournal::HandingOver() const {
    return guard && guard->TerminationRequested();
}

void TJournal::LoadJournal(JournalPreload* preload) {
    const QString fileName = ProgramFiles::JournalFileName();
    try {
        if (auto preloaded = preload ? preload->Take(fileName) : std::nullopt) {
            Store.TakeJournalFrom(*preloaded->store);
            Store.FinishJournalRead(fileName, preloaded->read);
        } else {
            Store.LoadJournalFile(fileName);
        }
    } catch (const AppError& error) {
        // The file itself is kept: the store has copied it aside before anything can
        // replace it.
        ShowErrorBox(error.message());
    }
}

void TJournal::MergePendingSessions() {
    if (HandingOver())
        return;
    bool appended = false;
    QStringList damaged;
    for (const PendingSessions::LeftOver& left : pending.TakeLeftOvers(&damaged)) {
        // The row may already be there: the program ended after saving the journal but
        // before it could remove the file.
        if (!Store.ContainsSessionRow(Store.SessionRowCells(left.record))) {
            Store.AppendSession(left.record);
            FitColumns(Store.jgrid.RowCount() - 1);
            appended = true;
        }
        pending.Held(left.fileName);
    }
    if (appended)
        SaveJournal(); // a failure keeps the files for the next save or the next start
    else
        pending.JournalSaved(); // every row is in the journal file already
    for (const QString& name : std::as_const(damaged))
        ShowMessageBox(BoxKind::Warning,
                       QStringLiteral("Une session interrompue n'a pas pu être relue : elle "
                                      "manque au journal. Son fichier endommagé est gardé "
                                      "sous %1.")
                           .arg(QDir::toNativeSeparators(name)));
}

int TJournal::RowCount() const {
    return Store.jgrid.RowCount();
}

void TJournal::AppendSession(const SessionRecord& record) {
    const QString checkpoint = ProgramFiles::CheckpointFileName();
    // The checkpoint first holds the final row, then becomes the session's pending file:
    // whatever happens from here on, the next start finds either this row in the journal or
    // the file to make it from. (When the final row cannot be written, the last checkpoint
    // of the session is kept: the best left of it.)
    bool kept = true;
    if (!HandingOver()) {
        const bool written = WriteSessionCheckpoint(checkpoint, record);
        kept = pending.KeepCheckpoint() && written;
    }
    if (!kept)
        ++unkeptSessions;
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
    countedSession = nullptr;
}

void TJournal::SaveJournal() {
    if (HandingOver())
        return;
    try {
        Store.SaveJournalFile(ProgramFiles::JournalFileName());
        journalSaved = true;
        failureTold = unkeptTold = false;
        unkeptSessions = 0;
        saveRetry->stop();
        pending.JournalSaved();
    } catch (const AppError& error) {
        // The file on disk keeps its previous content.
        qCWarning(logFiles).noquote() << "journal not saved:" << error.message() << error.why();
        saveFailure = error.why();
        journalSaved = false;
        pending.JournalNotSaved();
        if (!saveRetry->isActive())
            saveRetry->start();
        TellJournalNotSaved();
    }
}

QString TJournal::JournalNotSavedText() const {
    if (!saveFailure.isEmpty())
        return QStringLiteral("Le journal n'a pas pu être enregistré. %1.").arg(saveFailure);
    return QStringLiteral("Le journal n'a pas pu être enregistré dans %1 : le disque est "
                          "peut-être plein.")
        .arg(QDir::toNativeSeparators(ProgramFiles::JournalFileName()));
}

void TJournal::TellJournalNotSaved() {
    const bool sessionKept = unkeptSessions == 0;
    bool& told = sessionKept ? failureTold : unkeptTold;
    if (told)
        return;
    told = true;
    const QString text =
        JournalNotSavedText() +
        (sessionKept ? QStringLiteral("\n\nLes sessions terminées sont gardées à part et seront "
                                      "ajoutées au journal dès qu'il pourra être enregistré.")
                     : QStringLiteral("\n\nLa session terminée n'a pas pu être gardée à part "
                                      "non plus : elle sera enregistrée dès que le disque aura "
                                      "de la place, mais serait perdue si le programme était "
                                      "fermé avant. Libérez de la place sur le disque."));
    // Shown once the current handler has ended: a box opened inside a poll tick would let
    // the next ticks run in the middle of this one.
    QTimer::singleShot(0, this, [text] { ShowMessageBox(BoxKind::Warning, text); });
}

bool TJournal::MayEndProgram() {
    if (unkeptSessions == 0)
        return true;
    SaveJournal();
    if (journalSaved)
        return true;
    const QString lost =
        unkeptSessions == 1
            ? QStringLiteral("Une session terminée depuis n'a pu être gardée nulle part : elle "
                             "sera perdue si le programme est fermé maintenant.")
            : QStringLiteral("%1 sessions terminées depuis n'ont pu être gardées nulle part : "
                             "elles seront perdues si le programme est fermé maintenant.")
                  .arg(unkeptSessions);
    return AskYesNo(JournalNotSavedText() + QStringLiteral("\n\n") + lost +
                        QStringLiteral("\n\nVoulez-vous quitter quand même ?"),
                    this);
}

void TJournal::ClearJournal() {
    if (!AskYesNo(QStringLiteral("Voulez-vous vraiment effacer tout le journal ?"), this,
                  BoxButton::No))
        return;
    Store.ClearJournal(ProgramFiles::JournalFileName());
    pending.JournalSaved(); // the sessions kept apart were cleared with the others
    widestText.clear();
    close();
}

void TJournal::CheckpointRunningSession(qint32 elapsed,
                                        const std::function<SessionRecord()>& runningSession) {
    if (HandingOver() || !checkpoints.Due(elapsed))
        return;
    const SessionRecord running = runningSession();
    if (!WriteSessionCheckpoint(ProgramFiles::CheckpointFileName(), running))
        return;
    checkpoints.Written(running.durationSeconds);
    countedSession = runningSession;
    // Registered once a checkpoint has been written: what writing one needs of Qt is set up
    // by then, and so is torn down only after this runs at exit.
    static const bool registered = std::atexit(CheckpointAtExit) == 0;
    (void)registered;
}

void TJournal::CheckpointRunningSessionAtExit() {
    if (countedSession && !HandingOver())
        WriteSessionCheckpoint(ProgramFiles::CheckpointFileName(), countedSession());
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

int TJournal::TextWidth(std::string_view utf8) {
    if (latin1Widths.isEmpty())
        TextWidth(QString());
    const auto byte = [&utf8](size_t at) { return static_cast<unsigned char>(utf8[at]); };
    int width = 0;
    for (size_t at = 0; at < utf8.size(); ++at) {
        if (byte(at) < 0x80) {
            width += latin1Widths[byte(at)];
        } else if ((byte(at) == 0xC2 || byte(at) == 0xC3) && at + 1 < utf8.size() &&
                   (byte(at + 1) & 0xC0) == 0x80) { // U+0080 to U+00FF: "é", "û"...
            width += latin1Widths[(byte(at) & 0x1F) << 6 | (byte(at + 1) & 0x3F)];
            ++at;
        } else {
            return TextWidth(Utf8CellText(utf8));
        }
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
                widestText[col] = std::max(widestText[col], TextWidth(grid.CellUtf8(col, r)));
    } else {
        for (int col = 0; col < columns; ++col) {
            widestText[col] = std::max(widestText[col], TextWidth(grid.CellUtf8(col, row)));
            widestText[col] = std::max(widestText[col], TextWidth(grid.CellUtf8(col, 0)));
        }
    }
    Store.ColumnWidths = QList<int>(columns);
    for (int col = 0; col < columns; ++col)
        Store.ColumnWidths[col] = widestText[col] + JournalColumnMargin;
}
