// Setting the PC clock from the time server: the connection question, the query, the
// clock setting, the report and the hang-up question.

#include "app/application_title.h"
#include "base/clock.h"
#include "dialup/tras.h"
#include "timesync/clock_setter.h"
#include "timesync/correction_report.h"
#include "timesync/internet_state.h"
#include "timesync/time_query.h"
#include "widgets/message_box.h"
#include "widgets/tform1.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTimer>

namespace {
const QString queryErrorText =
    QStringLiteral("Erreur de connexion au serveur d'horloge.\rMerci de bien vouloir réessayer.");
} // namespace

void TForm1::Button8Click() {
    SetClock(true);
}

void TForm1::SetClockAtNewSession() {
    if (!CheckBox3->isChecked() || !RadioButton4->isChecked())
        return;
    // Once the poll tick that started the session is over: the setting waits on the network.
    QTimer::singleShot(0, this, [this] { SetClock(false); });
}

void TForm1::SetClock(bool interactive) {
    if (QuestionPending) {
        ShowInFront();
        return;
    }
    // A setting already running (its waits let timers in) is not started twice.
    if (!Button8->isEnabled())
        return;
    QPointer<TForm1> alive(this);
    Button8->setEnabled(false);
    cbHost->setEnabled(false);
    const auto finish = [&] {
        Button8->setEnabled(true);
        cbHost->setEnabled(true);
    };

    const bool wasOnline = InternetConnected() || HasDefaultRoute();
    if (!wasOnline) {
        if (!interactive) {
            const QString question =
                QStringLiteral("Mise à jour automatique de l'heure du PC via ") +
                ApplicationTitle() + QStringLiteral(".\r") +
                QStringLiteral("Vous n'êtes pas actuellement connecté à "
                               "Internet.\rVoulez-vous vous connecter "
                               "maintenant ?");
            ShowInFront();
            QuestionPending = true;
            const bool yes = AskYesNo(question, this);
            if (!alive)
                return;
            QuestionPending = false;
            if (!yes)
                return finish();
        }
        // Having dialled, the setting reports as if the user had asked for it.
        interactive = true;
        if (!DialDefaultConnection()) {
            if (alive)
                finish();
            return;
        }
    }

    ClockQueryFailed = false;
    TimeQuery1->Host = cbHost->currentText();
    QString serverTime;
    bool answered = true;
    try {
        serverTime = TimeQuery1->TimeStr();
    } catch (const AppError& error) {
        if (!alive)
            return;
        answered = false;
        ClockFailureShown = error.message();
        StatusBar1->showMessage(ClockFailureShown);
        if (interactive)
            ShowMessageBox(BoxKind::Error, queryErrorText, {BoxButton::Ok}, this);
    }
    if (!alive)
        return;

    if (answered) {
        const QDateTime oldTime = Now().toUTC();
        const QDateTime newTime =
            ServerTimeOnMachineDate(oldTime, serverTime, TimeQuery1->AnswerAgeMs());
        if (ClockQueryFailed || !newTime.isValid()) {
            if (interactive)
                ShowMessageBox(BoxKind::Error, queryErrorText, {BoxButton::Ok}, this);
        } else {
            Session.clockBeingSet = true;
            const Result clockSet = AppClockSetter().SetUtc(newTime);
            if (!alive)
                return;
            Session.clockBeingSet = false;
            if (clockSet && (SessionActive || Timer1->isActive()))
                Session.MoveStart(oldTime.msecsTo(newTime));
            const CorrectionReport report = MakeCorrectionReport(oldTime, newTime, clockSet);
            if (!clockSet) {
                ClockFailureShown = QStringLiteral("L'heure du PC n'a pas pu être corrigée : ") +
                                    clockSet.Message();
                StatusBar1->showMessage(ClockFailureShown);
            } else if (StatusBar1->currentMessage() == ClockFailureShown) {
                StatusBar1->clearMessage(); // an earlier failure no longer holds
            }
            if (interactive)
                ShowMessageBox(report.onTime || clockSet ? BoxKind::Information : BoxKind::Warning,
                               report.text, {BoxButton::Ok}, this);
        }
    }
    if (!alive)
        return;
    // A connection made for the setting is offered to be closed, the query answered or not:
    // the line is paid by the minute.
    if (!wasOnline &&
        AskYesNo(QStringLiteral("Voulez-vous fermer la connexion à Internet ?"), this))
        Button2Click();
    if (alive)
        finish();
}

bool TForm1::DialDefaultConnection() {
    if (ComboBox1->currentIndex() < 0) {
        StatusBar1->showMessage(QStringLiteral("Aucune connexion à composer pour joindre le "
                                               "serveur d'horloge"));
        return false;
    }
    QPointer<TForm1> alive(this);
    const bool chosen = ChosenFromMenu;
    // The selected entry is dialled as the connect button does, without the chooser.
    ChosenFromMenu = true;
    Button1Click();
    if (!alive)
        return false;
    ChosenFromMenu = chosen;
    return RAS->ConnectState == 8192;
}
