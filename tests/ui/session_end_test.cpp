// How a session ends: its row carries its entry's name whatever emptied the followed name,
// a failed dial ends on "Déconnecté" with nothing following it, and a journal that cannot be
// saved (a full disk) loses and doubles no session.

#include "app/ui/windows.h"
#include "base/ini_file.h"
#include "base/program_files.h"
#include "dialup/simulation_provider.h"
#include "dialup/tras.h"
#include "journal/journal_store.h"
#include "journal/session_checkpoint.h"
#include "journal/ui/journal_window.h"
#include "support/app_fixture.h"
#include "support/program_process.h"
#include "widgets/tform1.h"
#include "widgets/wav_player.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <csignal>
#include <sys/resource.h>

namespace {
class SessionEndTest : public SimulatedModemTest {
  protected:
    int ListedConnections() {
        Form1->RAS->EnumConnections();
        return Form1->RAS->Connections.Count();
    }
    QStringList LastRow() { return Journal->jgrid->RowCells(Journal->RowCount() - 1); }
    void ChronometerRun(int seconds) {
        Form1->SpeedButton1->setChecked(true);
        Form1->SpeedButton1Click();
        Form1->SpeedButton2Click();
        clock->clock.advanceSeconds(seconds);
        Form1->Timer1Timer();
        Form1->SpeedButton4Click();
        Form1->SpeedButton1->setChecked(false);
        Form1->SpeedButton1Click();
        Form1->Timer2->stop();
    }
};

SessionRecord OldSession(int index) {
    SessionRecord record;
    record.connection = QStringLiteral("Ancienne connexion %1").arg(index);
    record.tariff = QStringLiteral("Tarif local");
    record.date = QDate(2026, 11, 1 + index % 28);
    record.startTime = QTime(8, index % 60, 0);
    record.durationSeconds = 60 + index;
    record.cost = 0.5;
    return record;
}

// A journal of a few hundred sessions: far above the file-size limit of the tests.
void WriteBigJournal(const QString& fileName, int rows) {
    JournalStore store;
    for (int i = 0; i < rows; ++i)
        store.AppendSession(OldSession(i));
    store.SaveJournalFile(fileName);
}

QStringList PendingFiles(const QString& folder) {
    return QDir(folder).entryList({QStringLiteral("*.pending-*.session")}, QDir::Files);
}

int RowsOf(const QString& connection) {
    int count = 0;
    for (int row = 1; row < Journal->RowCount(); ++row)
        count += Journal->jgrid->Cells(JournalStore::Connexion, row) == connection;
    return count;
}
} // namespace

TEST_F(SessionEndTest, ASessionWhoseConnectionVanishedBetweenTwoTicksKeepsItsEntryName) {
    const QString entry = QStringLiteral("Coupure après 60 s");
    IniFile(SimulationProvider::DefaultPhonebookFile())
        .WriteInteger(entry, QStringLiteral("DropAfter"), 30);
    Dial(entry);
    ASSERT_EQ(Form1->RAS->ConnectState, 8192);
    Form1->PollConnection();
    ASSERT_TRUE(Form1->SessionActive);
    const int rows = Journal->RowCount();
    // The line drops and leaves the list before the next tick.
    ASSERT_TRUE(WaitUntil([this] { return ListedConnections() == 0; }, 10000));
    clock->clock.advanceSeconds(5);
    Form1->PollConnection();
    EXPECT_FALSE(Form1->SessionActive);
    ASSERT_EQ(Journal->RowCount(), rows + 1);
    EXPECT_EQ(LastRow().value(JournalStore::Connexion), entry);
}

TEST_F(SessionEndTest, QuittingWithHangUpDuringASessionKeepsItsEntryName) {
    const QString entry = QStringLiteral("Simulation 56K");
    Dial(entry);
    Form1->PollConnection();
    ASSERT_TRUE(Form1->SessionActive);
    const int rows = Journal->RowCount();
    // A tick runs inside the hang-up wait, once the line has left the list.
    QTimer tickWhenGone;
    QObject::connect(&tickWhenGone, &QTimer::timeout, [this] {
        if (Form1->SessionActive && ListedConnections() == 0)
            Form1->PollConnection();
    });
    tickWhenGone.start(0);
    const auto boxes = AnswerBoxes({QStringLiteral("&Oui"), QStringLiteral("&Oui")});
    Form1->Test31Click();
    tickWhenGone.stop();
    EXPECT_TRUE(boxes.at(1)->seen);
    EXPECT_EQ(exitRequests, 1);
    StopProgram();
    StartProgram();
    ASSERT_EQ(Journal->RowCount(), rows + 1);
    EXPECT_EQ(LastRow().value(JournalStore::Connexion), entry);
}

TEST_F(SessionEndTest, AFailedDialEndsOnDeconnecteAndNothingFollowsIt) {
    SimulationProvider::SetTimeScale(0.05); // a failed call stays listed 25 ms after its hang-up
    for (const QString& entry : {QStringLiteral("Ligne occupée"), QStringLiteral("Pas de réponse"),
                                 QStringLiteral("Mot de passe refusé")}) {
        SCOPED_TRACE(entry.toStdString());
        int beeps = 0;
        auto beeped =
            QObject::connect(Form1->WAVPlayer1, &TWAVPlayer::Beeped, [&beeps] { ++beeps; });
        QStringList shown;
        auto messages = QObject::connect(Form1->StatusBar1, &QStatusBar::messageChanged,
                                         [&shown](const QString& text) { shown << text; });
        Form1->Timer2->start(5); // the poll runs during the dial and its hang-up
        Dial(entry);
        const int ended = int(shown.size());
        EXPECT_EQ(shown.value(ended - 1), QStringLiteral("Déconnecté"));
        EXPECT_TRUE(std::any_of(shown.begin(), shown.end(), [&entry](const QString& text) {
            return text.startsWith(entry + QStringLiteral(" - ")) && text != entry + " - ";
        })) << shown.join('|').toStdString();
        // The poll goes on while the failed call is still listed and after it has gone.
        WaitUntil([this] { return ListedConnections() == 0; }, 5000);
        WaitUntil([] { return false; }, 100);
        Form1->Timer2->stop();
        EXPECT_EQ(shown.mid(ended), QStringList()) << shown.join('|').toStdString();
        EXPECT_EQ(Form1->StatusBar1->currentMessage(), QStringLiteral("Déconnecté"));
        EXPECT_TRUE(CurrentConnection.isEmpty());
        EXPECT_EQ(Form1->RAS->RASConn, 0u);
        EXPECT_FALSE(Form1->SessionActive);
        EXPECT_EQ(beeps, 1);
        QObject::disconnect(beeped);
        QObject::disconnect(messages);
    }
}

TEST_F(SessionEndTest, SessionsEndedWhileTheJournalCannotBeSavedAreNeitherLostNorDoubled) {
    const QString journal = ProgramFiles::JournalFileName();
    StopProgram();
    WriteBigJournal(journal, 300);
    ASSERT_GT(QFile(journal).size(), 8192);
    StartProgram();
    const int rows = Journal->RowCount();
    const QByteArray before = ReadWholeFile(journal);

    FileSizeLimit limit(4096);
    auto box = AnswerNextBox(QStringLiteral("OK"));
    ChronometerRun(61);
    // Told after the handler has ended; the journal file is as it was, the run kept apart.
    ASSERT_TRUE(WaitUntil([&box] { return box->seen; }));
    EXPECT_EQ(box->title, QStringLiteral("Avertissement"));
    EXPECT_TRUE(box->text.startsWith(QStringLiteral("Le journal n'a pas pu être enregistré")))
        << box->text.toStdString();
    EXPECT_TRUE(box->text.contains("Impossible d'écrire dans " + journal + " (le disque"))
        << "the system's reason: " << box->text.toStdString();
    auto second = AnswerNextBox(QStringLiteral("OK"), 300);
    ChronometerRun(62);
    WaitUntil([&second] { return second->seen; }, 300);
    EXPECT_FALSE(second->seen) << "told once, not at every failed save";
    EXPECT_EQ(ReadWholeFile(journal), before);
    EXPECT_EQ(PendingFiles(folder->path()).size(), 2);
    EXPECT_EQ(Journal->RowCount(), rows + 2);

    // The program ends (or is killed) before any room comes back: nothing is lost.
    StopProgram();
    limit.Lift();
    const QStringList kept = PendingFiles(folder->path());
    ASSERT_EQ(kept.size(), 2);
    QList<QByteArray> keptBytes;
    for (const QString& name : kept)
        keptBytes << ReadWholeFile(folder->file(name));
    StartProgram();
    EXPECT_EQ(PendingFiles(folder->path()), QStringList());
    EXPECT_EQ(Journal->RowCount(), rows + 2);
    EXPECT_EQ(RowsOf(QStringLiteral("Manuel")), 2);
    EXPECT_TRUE(ReadWholeFile(journal).startsWith("8," + QByteArray::number(rows + 2) + "\r\n"));

    // Had it stopped after a save holding the rows but before removing the files, the next
    // start must not double them.
    StopProgram();
    for (int i = 0; i < kept.size(); ++i)
        WriteWholeFile(folder->file(kept.at(i)), keptBytes.at(i));
    StartProgram();
    EXPECT_EQ(PendingFiles(folder->path()), QStringList());
    EXPECT_EQ(Journal->RowCount(), rows + 2);
    EXPECT_EQ(RowsOf(QStringLiteral("Manuel")), 2);
}

TEST_F(SessionEndTest, ASessionThatCouldNotBeKeptAnywhereHoldsTheProgramUntilItIsSaved) {
    const QString journal = ProgramFiles::JournalFileName();
    FileSizeLimit limit(16); // not even a session's file
    auto box = AnswerNextBox(QStringLiteral("OK"));
    ChronometerRun(61);
    ASSERT_TRUE(WaitUntil([&box] { return box->seen; }));
    EXPECT_TRUE(box->text.contains(QStringLiteral("n'a pas pu être gardée à part non plus")))
        << box->text.toStdString();
    EXPECT_EQ(PendingFiles(folder->path()), QStringList());
    EXPECT_EQ(RowsOf(QStringLiteral("Manuel")), 1);

    auto quit = AnswerNextBox(QStringLiteral("&Non"));
    EXPECT_FALSE(Journal->MayEndProgram());
    EXPECT_TRUE(quit->text.contains(QStringLiteral("Une session terminée depuis")))
        << quit->text.toStdString();
    limit.Lift(); // room again: the next try saves it, and the program may end
    EXPECT_TRUE(Journal->MayEndProgram());
    EXPECT_TRUE(ReadWholeFile(journal).contains("Manuel"));
}

// The real program, started with a file-size limit, finds the session a crash left behind:
// the journal cannot take it, so it stays apart; killed and started with room again, the
// program merges it once, and a copy put back (a crash before its removal) is not doubled.
TEST(SessionEndProgram, AnInterruptedSessionSurvivesAFullDiskAndIsMergedOnce) {
    ProgramCopy program;
    WriteWholeFile(program.file("tallivo.ini"), "[Dialup]\r\nProvider=simulation\r\n");
    WriteBigJournal(program.file("tallivo.jnl"), 300);
    const QByteArray before = ReadWholeFile(program.file("tallivo.jnl"));
    SessionRecord interrupted = OldSession(400);
    interrupted.connection = QStringLiteral("Simulation 56K");
    ASSERT_TRUE(WriteSessionCheckpoint(program.file("tallivo.session"), interrupted));
    const auto pending = [&program] { return PendingFiles(program.folder()); };

    QProcess limited;
    QProcessEnvironment environment = program.environment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("QT_LOGGING_RULES", "tallivo.*=true");
    limited.setProcessEnvironment(environment);
    limited.setProcessChannelMode(QProcess::MergedChannels);
    limited.setChildProcessModifier([] {
        rlimit limit{};
        getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = 4096;
        setrlimit(RLIMIT_FSIZE, &limit);
    });
    limited.start(program.executable(), {});
    ASSERT_TRUE(limited.waitForStarted(5000));
    QByteArray output;
    ASSERT_TRUE(WaitUntil(
        [&] {
            output += limited.readAll();
            return pending().size() == 1 || limited.state() == QProcess::NotRunning;
        },
        30000))
        << output.toStdString();
    ASSERT_TRUE(WaitUntil([&] {
        return (output += limited.readAll()).contains("journal not saved");
    })) << output.toStdString();
    EXPECT_FALSE(QFile::exists(program.file("tallivo.session")));
    ASSERT_EQ(pending().size(), 1) << output.toStdString();
    const QByteArray kept = ReadWholeFile(program.file(pending().first()));
    ::kill(pid_t(limited.processId()), SIGKILL);
    limited.waitForFinished(5000);
    EXPECT_EQ(ReadWholeFile(program.file("tallivo.jnl")), before);

    for (int start = 0; start < 2; ++start) {
        if (start == 1) // as if killed between the journal save and the file's removal
            WriteWholeFile(program.file("tallivo.pending-20261207-100000-000-0.session"), kept);
        QProcess* roomy = program.start();
        ASSERT_TRUE(WaitUntil([&] { return pending().isEmpty(); }, 30000))
            << roomy->readAll().toStdString();
        const QByteArray journal = ReadWholeFile(program.file("tallivo.jnl"));
        EXPECT_TRUE(journal.startsWith("8,302\r\n")) << journal.left(20).toStdString();
        EXPECT_EQ(journal.count("Simulation 56K"), 1);
        ::kill(pid_t(roomy->processId()), SIGKILL);
        roomy->waitForFinished(5000);
    }
}
