// The heartbeat of the program: the one-second poll of the dial-up connections and the
// manual chronometer.

#include "app/application_title.h"
#include "app/ui/mini_window.h"
#include "app/ui/tray_icon.h"
#include "app/ui/windows.h"
#include "base/clock.h"
#include "base/formats.h"
#include "base/log.h"
#include "base/text_functions.h"
#include "dialup/ras_records.h"
#include "dialup/tras.h"
#include "journal/ui/journal_window.h"
#include "widgets/counter_backdrop.h"
#include "widgets/counter_text.h"
#include "widgets/tform1.h"
#include "widgets/ticking_caption.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>

namespace {
// Takes up the first active connection when it is not the one followed. One that has already
// ended (a failed dial still listed during its hang-up, an outside dial that failed) is let go
// of: there is nothing to follow, and following it would put its old error back in the status
// bar. False when nothing is to be followed.
bool FollowFirstConnection(TRAS& ras) {
    if (ras.Connections.Count() <= 0)
        return false;
    const QString name = ras.Connections.ConnectionName(0);
    if (name == CurrentConnection)
        return true;
    const bool heldBefore = ras.RASConn != 0;
    const int status = ras.AttachConnection(0);
    if (!heldBefore && (status != 0 || ras.ConnectState == Ras::Disconnected)) {
        ras.ReleaseConnection(); // forgotten, not hung up: it is down already
        return false;
    }
    CurrentConnection = name;
    return true;
}
} // namespace

void TForm1::Timer2Timer() {
    try {
        PollConnection();
    } catch (const std::exception& error) {
        // A failed tick is dropped; the next one runs normally.
        qCWarning(logMonitor) << "poll tick dropped:" << error.what();
        UnlockEntryControls();
    } catch (...) {
        qCWarning(logMonitor) << "poll tick dropped";
        UnlockEntryControls();
    }
}

bool TForm1::InternetConnected() {
    // Asked of the dial-up provider: is the followed link (any, when none is followed) up?
    return RAS->LinkUp(CurrentConnection);
}

void TForm1::PollConnection() {
    // Each control is written once a tick with its final state: a state set and set back
    // would repaint it every second.
    if (ComboBox1->currentIndex() < 0) {
        SetTrayToolTip(ApplicationTitle());
        Button1->setEnabled(false);
        return;
    }
    if (!SessionActive || !InternetConnected())
        MiniWin->hide();

    qint32 elapsed = 0;
    RAS->EnumConnections();
    if (!FollowFirstConnection(*RAS)) {
        SetTrayToolTip(ApplicationTitle());
        GroupBox1->setTitle(QStringLiteral("Non connecté"));
        Button1->setEnabled(true);
        Button2->setEnabled(false);
        Dconnecter1->setEnabled(false);
        if (!CurrentConnection.isEmpty()) {
            CurrentConnection.clear();
            RAS->HangUp();
            // The connection left the list without being seen down: close the session here
            // so that it is never left half-counted.
            if (SessionActive)
                EndSession();
            RAS->ResetStats();
            RASStateChanged();
        }
    } else {
        Button1->setEnabled(false);
        QString status;
        RAS->StatusText(&status);
        if (RAS->ConnectState == Ras::Connected) {
            QString entry;
            RAS->FirstConnectionName(&entry);
            if (!SessionActive) {
                SelectEntry(entry);
                LockEntryControls();
                Session.Start(Now(), CurrentConnection);
                RearmCostAlarms();
                MiniWin->show();
                SetClockAtNewSession();
            }
            elapsed = Session.Tick(Now());
            ShowCounters(elapsed);
            SessionActive = true;
            Button1->setEnabled(false);
            Button2->setEnabled(true);
            Dconnecter1->setEnabled(true);
            GroupBox1->setTitle(QStringLiteral("Connecté à ") + entry + QStringLiteral(" depuis ") +
                                TimeText(DaysToTime(SessionStart)));
            if (elapsed > 0 && StatsAvailable)
                ShowStatistics();
        } else {
            if (SessionActive)
                EndSession();
            if (MiniWin->isVisible()) {
                RAS->ResetStats();
                MiniWin->hide();
                ClockCaption->ShowTitle(ApplicationTitle());
            }
            SessionActive = false;
            // A connection being dialled, or down but still listed, is followed: "Connecter"
            // would do nothing, and "Déconnecter" is how a dial is given up.
            const bool followed = !CurrentConnection.isEmpty();
            Button1->setEnabled(!followed);
            Button2->setEnabled(followed);
            Dconnecter1->setEnabled(followed);
            GroupBox1->setTitle(QStringLiteral("Non connecté"));
            SetTrayToolTip(ApplicationTitle() + QStringLiteral(" - Non connecté"));
            UnlockEntryControls();
        }
    }
    EvaluateAlarms(elapsed, AlarmMode::Poll);
    MiniWin->FitMiniWindow();
    UpdateChronometerButton();
}

void TForm1::UpdateChronometerButton() {
    // Started during a connection, the chronometer would restart the connection's own count
    // and cut its time and cost in two rows; started during a dial, it would stop the poll and
    // the connection would be counted nowhere. It waits for the line to be free.
    const bool lineInUse = SessionActive || !CurrentConnection.isEmpty();
    if (SpeedButton1->isEnabled() == lineInUse) {
        SpeedButton1->setEnabled(!lineInUse);
        SetHint(SpeedButton1, lineInUse ? QStringLiteral("Chronomètre manuel : indisponible "
                                                         "pendant une connexion")
                                        : QStringLiteral("Chronomètre manuel"));
    }
}

void TForm1::EndSession() {
    // setText, not clear(): clear() repaints a label that is empty already.
    for (QLabel* label : {ConnSpeed, mspeed, ips, ipc, MiniWin->mspeed})
        label->setText(QString());
    // Ended before its row is appended: the journal window, refreshed by the append, would
    // otherwise count it twice in the month's estimate, as a row and as running.
    const SessionRecord ended = RunningSession();
    SessionActive = false;
    Journal->AppendSession(ended);
    RAS->ResetStats();
    MiniWin->hide();
    ClockCaption->ShowTitle(ApplicationTitle());
    UnlockEntryControls();
}

void TForm1::ShowStatistics() {
    RAS->ReadStats();
    SetCounterText(StatXmit, QString::number(RAS->StatsXmit) + QStringLiteral(" octets"));
    SetCounterText(StatRecv, QString::number(RAS->StatsRecv) + QStringLiteral(" octets"));
    const LinkSpeeds& speeds = Session.TakeCounters(RAS->StatsXmit, RAS->StatsRecv);
    SetCounterText(ConnSpeed, FixedText(speeds.instant, 2) + QStringLiteral(" Ko/sec"));
    SetCounterText(mspeed, FixedText(speeds.average, 2) + QStringLiteral(" Ko/sec"));
    const bool addressesKnown = RAS->GetIPAddresses() == 0;
    SetCounterText(ips, addressesKnown ? RAS->ServerIP : QString());
    SetCounterText(ipc, addressesKnown ? RAS->ClientIP : QString());
    SetCounterText(MiniWin->mspeed, mspeed->text());
    SetHint(MiniWin->mspeed, QStringLiteral("Vitesse instantanée : ") + ConnSpeed->text());
}

void TForm1::ShowCounters(qint32 elapsed) {
    // The mini window's counters overlap one another: they stay as they are.
    const std::initializer_list<QWidget*> counters = {
        Label13, Label29, StatXmit, StatRecv, ConnSpeed, mspeed, ips, ipc, restefor};
    KeepLaidOutSize({GroupBox1});
    KeepLaidOutSize(counters);
    PaintOverKeptBackdrop(counters);
    SetCounterText(Label13, DurationText(elapsed));
    SetCounterText(Label29, ComputeCost(elapsed));
    SetCounterText(MiniWin->Label29, Label29->text());
    Journal->CheckpointRunningSession(elapsed, [this] { return RunningSession(); });
    SetTrayToolTip(ApplicationTitle() + QStringLiteral(" - ") + Label13->text() +
                   QStringLiteral(" - ") + Label29->text());
}

void TForm1::Timer1Timer() {
    const qint32 elapsed = Session.Tick(Now());
    ShowCounters(elapsed);
    EvaluateAlarms(elapsed, AlarmMode::Chronometer);
    MiniWin->FitMiniWindow();
}

SessionRecord TForm1::RunningSession() const {
    return Session.Record(CurrentConnection, Now().date(), StatsAvailable, RAS->StatsXmit,
                          RAS->StatsRecv);
}

bool TForm1::SessionIsCounted() const {
    return SessionActive || Timer1->isActive();
}

void TForm1::AppendSession() {
    Journal->AppendSession(RunningSession());
}

void TForm1::SpeedButton1Click() {
    if (!SpeedButton1->isChecked()) {
        if (Timer1->isActive())
            SpeedButton4Click();
        Timer1->stop();
        SpeedButton4->setEnabled(false);
    }
    SpeedButton2->setEnabled(SpeedButton1->isChecked());
    if (SpeedButton1->isChecked())
        Timer2->stop();
    else
        Timer2->start();
}

void TForm1::SpeedButton2Click() {
    StatXmit->setText(QString());
    StatRecv->setText(QString());
    Session.Start(Now());
    RearmCostAlarms();
    Timer1->start();
    SpeedButton4->setEnabled(true);
    SpeedButton2->setEnabled(false);
    MiniWin->show();
}

void TForm1::SpeedButton4Click() {
    Timer1->stop();
    SpeedButton4->setEnabled(false);
    SpeedButton2->setEnabled(true);
    MiniWin->hide();
    ClockCaption->ShowTitle(ApplicationTitle());
    SetTrayToolTip(ApplicationTitle());
    AppendSession();
}

void TForm1::RASStateChanged() {
    StatusBar1->showMessage(CurrentConnection.isEmpty()
                                ? QStringLiteral("Non connecté")
                                : CurrentConnection + QStringLiteral(" - ") + RAS->StatusStr);
}

void TForm1::SetEntryControlsEnabled(bool enabled) {
    for (QWidget* control : std::initializer_list<QWidget*>{ComboBox1, Poubelle7, Button13,
                                                            RenameBtn, CreateBtn, UserBtn, PWBtn})
        control->setEnabled(enabled);
}

void TForm1::LockEntryControls() {
    SetEntryControlsEnabled(false);
}

void TForm1::UnlockEntryControls() {
    SetEntryControlsEnabled(true);
}

void TForm1::SetTrayToolTip(const QString& text) {
    TrayIcon1->SetToolTip(text);
}

void TForm1::NoticeWhileHidden(const QString& title, const QString& text) {
    if (!isVisible())
        TrayIcon1->ShowNotice(title, text);
}
