// The session monitor following a connection of the simulated modem, on the manual clock:
// the dial, the session with its tariff, bytes, speeds and addresses, the drop, the journal.

#include "app/ui/mini_window.h"
#include "app/ui/windows.h"
#include "base/ini_file.h"
#include "base/program_files.h"
#include "dialup/simulation_provider.h"
#include "dialup/tras.h"
#include "dialup/ui/choose_connection_dialog.h"
#include "journal/ui/journal_window.h"
#include "support/app_fixture.h"
#include "widgets/tform1.h"
#include "widgets/wav_player.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStatusBar>
#include <QThread>
#include <QTimer>
#include <QToolButton>

namespace {
class MonitorSimulationTest : public SimulatedModemTest {
  protected:
    void Tick(int seconds = 1) {
        clock->clock.advanceSeconds(seconds);
        Form1->PollConnection();
    }
};
} // namespace

TEST_F(MonitorSimulationTest, SessionStartsCountsAndEndsInOneJournalRow) {
    ASSERT_FALSE(startWarning->seen); // the simulated phonebook has entries
    EXPECT_EQ(Form1->ComboBox1->count(), 5);
    // A tariff of its own for the entry that drops, and the other one selected for now.
    Form1->Button3Click();
    const QString tariff = Form1->ComboTarif->currentText();
    Form1->ComboTarif->setCurrentIndex(0);
    Form1->ComboTarifClick();
    IniFile(ProgramFiles::SettingsFileName())
        .WriteString(QStringLiteral("Associations"), QStringLiteral("Coupure après 60 s"), tariff);
    IniFile(SimulationProvider::DefaultPhonebookFile())
        .WriteInteger(QStringLiteral("Coupure après 60 s"), QStringLiteral("DropAfter"), 120);

    // Dial through the chooser; the wait ends once the line is up.
    const int entry = Form1->ComboBox1->findText(QStringLiteral("Coupure après 60 s"));
    Form1->ComboBox1->setCurrentIndex(entry);
    auto chooser = AnswerNextBox(QStringLiteral("OK"));
    QStringList progress;
    bool chronometerDuringDial = true;
    QObject::connect(Form1->StatusBar1, &QStatusBar::messageChanged, [&](const QString& text) {
        progress << text;
        if (text.contains(QStringLiteral("Numérotation")))
            chronometerDuringDial = Form1->SpeedButton1->isEnabled();
    });
    Form1->Button1->click();
    EXPECT_TRUE(chooser->seen);
    ASSERT_EQ(Form1->RAS->ConnectState, 8192);
    EXPECT_EQ(CurrentConnection, QStringLiteral("Coupure après 60 s"));
    EXPECT_TRUE(progress.contains(QStringLiteral("Connexion à Coupure après 60 s en cours...")));
    EXPECT_TRUE(
        progress.contains(QStringLiteral("Coupure après 60 s - Numérotation en cours (modem)")));
    EXPECT_FALSE(chronometerDuringDial) << "started then, it would leave the line uncounted";

    Tick(0);
    EXPECT_TRUE(Form1->SessionActive);
    EXPECT_EQ(Form1->ComboTarif->currentText(), tariff);
    EXPECT_EQ(Form1->Label28->text(), tariff);
    EXPECT_EQ(Form1->Label13->text(), QStringLiteral("00:00:00"));
    EXPECT_TRUE(Form1->StatXmit->text().isEmpty()); // no statistics at E = 0
    EXPECT_TRUE(MiniWin->isVisible());
    EXPECT_FALSE(Form1->ComboBox1->isEnabled());
    EXPECT_TRUE(Form1->Button2->isEnabled());
    EXPECT_FALSE(Form1->SpeedButton1->isEnabled()); // the chronometer waits for the end

    QThread::msleep(20); // two modem seconds
    Tick();
    EXPECT_EQ(Form1->Label13->text(), QStringLiteral("00:00:01"));
    EXPECT_TRUE(Form1->StatRecv->text().endsWith(QStringLiteral(" octets")));
    EXPECT_GT(Form1->RAS->StatsRecv, 0);
    EXPECT_GT(Form1->RAS->StatsXmit, 0);
    EXPECT_TRUE(Form1->ConnSpeed->text().endsWith(QStringLiteral(" Ko/sec")));
    EXPECT_TRUE(Form1->mspeed->text().endsWith(QStringLiteral(" Ko/sec")));
    EXPECT_EQ(Form1->ips->text(), QStringLiteral("192.0.2.1"));
    EXPECT_TRUE(Form1->ipc->text().startsWith(QStringLiteral("192.0.2.")));
    EXPECT_TRUE(MiniWin->isVisible());
    Tick();

    // The line drops (120 modem seconds): the session ends with one row.
    const int rows = Journal->RowCount();
    ASSERT_TRUE(WaitUntil([] { return !Form1->RAS->LinkUp(); }, 5000));
    const qint64 sent = Form1->RAS->StatsXmit;
    const qint64 received = Form1->RAS->StatsRecv;
    Tick();
    EXPECT_FALSE(Form1->SessionActive);
    EXPECT_FALSE(MiniWin->isVisible());
    EXPECT_EQ(Form1->GroupBox1->title(), QStringLiteral("Non connecté"));
    EXPECT_TRUE(Form1->ips->text().isEmpty());
    ASSERT_EQ(Journal->RowCount(), rows + 1);
    const QStringList row = Journal->jgrid->RowCells(Journal->RowCount() - 1);
    EXPECT_EQ(row.value(0), QStringLiteral("Coupure après 60 s"));
    EXPECT_EQ(row.value(1), tariff);
    EXPECT_EQ(row.value(4), QStringLiteral("00:00:02")); // as last shown
    EXPECT_TRUE(row.contains(QString::number(sent))) << row.join('|').toStdString();
    EXPECT_TRUE(row.contains(QString::number(received))) << row.join('|').toStdString();

    // Later ticks see the connection gone and let go of it; nothing more is appended.
    ASSERT_TRUE(WaitUntil(
        [] {
            Form1->PollConnection();
            return CurrentConnection.isEmpty();
        },
        10000));
    EXPECT_EQ(Journal->RowCount(), rows + 1);
    EXPECT_TRUE(Form1->Button1->isEnabled());
    EXPECT_TRUE(Form1->SpeedButton1->isEnabled());
}

TEST_F(MonitorSimulationTest, AFailedDialEndsDisconnectedWithABeep) {
    const int entry = Form1->ComboBox1->findText(QStringLiteral("Ligne occupée"));
    Form1->ComboBox1->setCurrentIndex(entry);
    Form1->ChosenFromMenu = true; // no chooser
    int beeps = 0;
    QObject::connect(Form1->WAVPlayer1, &TWAVPlayer::Beeped, [&] { ++beeps; });
    QStringList progress;
    QObject::connect(Form1->StatusBar1, &QStatusBar::messageChanged,
                     [&](const QString& text) { progress << text; });
    Form1->Button1Click();
    Form1->ChosenFromMenu = false;
    EXPECT_TRUE(progress.contains(
        QStringLiteral("Ligne occupée - La ligne est occupée. Réessayez plus tard.")));
    EXPECT_EQ(Form1->StatusBar1->currentMessage(),
              QStringLiteral("Déconnecté - La ligne est occupée. Réessayez plus tard."));
    EXPECT_TRUE(CurrentConnection.isEmpty());
    EXPECT_EQ(Form1->RAS->RASConn, 0u);
    EXPECT_EQ(beeps, 1);
}

TEST_F(MonitorSimulationTest, TheChooserConfirmedWithNoLineChosenDialsNothing) {
    // A click on the list's empty part: the current row stays, no line is chosen.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (!ChoixConn->isVisible())
            return;
        ChoixConn->ListBox1->clearSelection();
        ChoixConn->accept();
    });
    poll.start(10);
    Form1->Button1->click();
    EXPECT_TRUE(CurrentConnection.isEmpty());
    EXPECT_EQ(Form1->RAS->RASConn, 0u);
}

TEST_F(MonitorSimulationTest, ADialIsGivenUpWithDeconnecter) {
    Form1->ComboBox1->setCurrentIndex(Form1->ComboBox1->findText(QStringLiteral("Pas de réponse")));
    Form1->ChosenFromMenu = true; // no chooser
    bool connectOffered = true;
    bool disconnectOffered = false;
    QTimer::singleShot(50, qApp, [&] {
        Form1->PollConnection();
        connectOffered = Form1->Button1->isEnabled();
        disconnectOffered = Form1->Button2->isEnabled() && Form1->Dconnecter1->isEnabled();
        Form1->Button2->click();
    });
    Form1->Button1Click();
    Form1->ChosenFromMenu = false;
    EXPECT_FALSE(connectOffered); // it would do nothing while the dial goes on
    EXPECT_TRUE(disconnectOffered);
    EXPECT_EQ(Form1->RAS->RASConn, 0u);
    EXPECT_TRUE(CurrentConnection.isEmpty());
    EXPECT_TRUE(Form1->StatusBar1->currentMessage().startsWith(QStringLiteral("Déconnecté")));
}

TEST_F(MonitorSimulationTest, TheProgramEndingDuringADialAbandonsItQuietly) {
    Form1->ComboBox1->setCurrentIndex(Form1->ComboBox1->findText(QStringLiteral("Pas de réponse")));
    Form1->ChosenFromMenu = true; // no chooser
    int beeps = 0;
    QObject::connect(Form1->WAVPlayer1, &TWAVPlayer::Beeped, [&] { ++beeps; });
    // A termination signal ends the program while the modem still waits for an answer
    // (which gives up 300 ms after the dial at this time scale).
    QTimer::singleShot(100, qApp, [] { QCoreApplication::exit(0); });
    Form1->Button1Click();
    Form1->ChosenFromMenu = false;
    EXPECT_EQ(Form1->RAS->RASConn, 0u);
    EXPECT_TRUE(CurrentConnection.isEmpty());
    EXPECT_EQ(beeps, 0);
    // The application may run its loop again for what follows.
    QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
    QApplication::exec();
}

TEST_F(MonitorSimulationTest, DisconnectHangsUpAndWaitsForTheLineToDrop) {
    // Dialling in the chronometer's mode ends it first: the poll must follow the connection.
    Form1->SpeedButton1->click();
    Form1->SpeedButton2->click();
    const int runs = Journal->RowCount();
    Dial(QStringLiteral("Simulation 56K"));
    EXPECT_FALSE(Form1->SpeedButton1->isChecked());
    EXPECT_TRUE(Form1->Timer2->isActive());
    EXPECT_EQ(Journal->jgrid->Cells(0, runs), QStringLiteral("Manuel"));
    ASSERT_EQ(Form1->RAS->ConnectState, 8192);
    Tick(0);
    ASSERT_TRUE(Form1->SessionActive);
    const int rows = Journal->RowCount();
    Form1->Button2->click();
    EXPECT_EQ(Form1->StatusBar1->currentMessage(), QStringLiteral("Déconnecté"));
    EXPECT_TRUE(CurrentConnection.isEmpty());
    EXPECT_EQ(Form1->RAS->RASConn, 0u);
    Form1->RAS->EnumConnections();
    EXPECT_EQ(Form1->RAS->Connections.Count(), 0);
    // No tick ran during the wait: the session is closed by the disconnection itself.
    EXPECT_FALSE(Form1->SessionActive);
    EXPECT_EQ(Journal->RowCount(), rows + 1);
    Tick();
    EXPECT_EQ(Journal->RowCount(), rows + 1);
}

TEST_F(MonitorSimulationTest, ChoosingAnEntryShowsItsNumberAndModem) {
    const int entry = Form1->ComboBox1->findText(QStringLiteral("Pas de réponse"));
    Form1->ComboBox1->setCurrentIndex(entry);
    Form1->ComboBox1Click();
    EXPECT_EQ(Form1->Label2->text(), QStringLiteral("0860888888"));
    EXPECT_EQ(Form1->Label6->text(), QStringLiteral("Modem simulé 56K"));
    EXPECT_EQ(Form1->Label8->text(), QStringLiteral("modem"));
    EXPECT_EQ(Form1->Label9->text(), QStringLiteral("/dev/ttyS0"));
    // Cancelling the chooser dials nothing.
    auto chooser = AnswerNextBox(QStringLiteral("Annuler"));
    Form1->Button1Click();
    EXPECT_TRUE(chooser->seen);
    EXPECT_EQ(Form1->RAS->RASConn, 0u);
    EXPECT_TRUE(CurrentConnection.isEmpty());
}
