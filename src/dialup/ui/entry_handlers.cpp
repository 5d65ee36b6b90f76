// The main window's dial-up entry handlers: choosing an entry, connecting with the dial wait,
// disconnecting.

#include "base/event_wait.h"
#include "dialup/ras_records.h"
#include "dialup/tras.h"
#include "dialup/ui/choose_connection_dialog.h"
#include "dialup/ui/entry_dialogs.h"
#include "widgets/tform1.h"
#include "widgets/wav_player.h"
#include "widgets/window_list.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QToolButton>

void TForm1::ComboBox1Click() {
    if (ComboBox1->currentIndex() < 0)
        return;
    RAS->EntryName = ComboBox1->currentText();
    if (RAS->GetDialParams() != 0) {
        StatusBar1->showMessage(RAS->StatusStr);
    } else if (RAS->GetEntryProperties() == 0) {
        Label6->setText(RAS->DeviceName);
        Label8->setText(RAS->DeviceType);
        Label9->setText(RAS->DevicePort);
        Label2->setText(RAS->PhoneNumber);
    }
    ShowAssociation();
}

void TForm1::SelectEntry(const QString& name) {
    // Entries may differ only in case (peers are files): the exact name wins, so that the
    // connection is priced at its own tariff.
    int index = ComboBox1->findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0)
        index = ComboBox1->findText(name, Qt::MatchFixedString);
    if (index < 0)
        return;
    ComboBox1->setCurrentIndex(index);
    ComboBox1Click();
    SelectAssociatedTariff(name);
}

QString TForm1::CurrentEntryName() const {
    return ComboBox1->currentIndex() >= 0 ? ComboBox1->currentText() : QString();
}

void TForm1::Button1Click() {
    if (!CurrentConnection.isEmpty())
        return;
    if (ComboBox1->count() > 1 && !ChosenFromMenu) {
        ChoixConn->ListBox1->clear();
        for (int i = 0; i < ComboBox1->count(); ++i)
            ChoixConn->ListBox1->addItem(ComboBox1->itemText(i));
        ChoixConn->ListBox1->setCurrentRow(ComboBox1->currentIndex());
        if (ChoixConn->exec() != QDialog::Accepted)
            return;
        // A click on the list's empty part leaves a current row but no line chosen.
        const QList<QListWidgetItem*> chosen = ChoixConn->ListBox1->selectedItems();
        if (chosen.isEmpty())
            return;
        const QSignalBlocker quiet(ComboBox1);
        ComboBox1->setCurrentIndex(ChoixConn->ListBox1->row(chosen.first()));
    }
    if (ComboBox1->currentIndex() < 0)
        return;
    // The chronometer's mode stops the poll: a connection made meanwhile would be counted
    // nowhere. The mode ends first, a run under way becoming its row.
    if (SpeedButton1->isChecked()) {
        SpeedButton1->setChecked(false);
        SpeedButton1Click();
    }
    const QString name = ComboBox1->currentText();
    RAS->EntryName = name;
    CurrentConnection = name;
    UpdateChronometerButton();
    StatusBar1->showMessage(QStringLiteral("Connexion à ") + name + QStringLiteral(" en cours..."));
    if (RAS->Connect() != 0) {
        CurrentConnection.clear();
        StatusBar1->showMessage(QStringLiteral("Erreur de connexion - ") + RAS->StatusStr);
        return;
    }
    // The window stays live while the dial goes on: progress reaches the status bar and the
    // poll keeps running. A dial whose handle someone else dropped cannot progress any more.
    QPointer<TForm1> alive(this);
    bool programGoesOn = true;
    while (alive && programGoesOn && RAS->ConnectState < Ras::Pending && RAS->RASConn != 0)
        programGoesOn = WaitForEvents();
    if (!alive)
        return;
    if (!programGoesOn) {
        // The program is ending during the dial: the dial is abandoned, quietly.
        RAS->Disconnect();
        CurrentConnection.clear();
        return;
    }
    StatusBar1->clearMessage();
    if (RAS->ConnectState == Ras::Connected)
        return;
    // A dial that ended on an error says why: a wrong password would otherwise be retried
    // without end, the user seeing only "Déconnecté".
    const bool failed = RAS->ConnectState >= Ras::Pending && RAS->ConnectState < Ras::Interactive;
    const QString reason = RAS->StatusStr;
    RAS->Disconnect();
    CurrentConnection.clear();
    RASStateChanged();
    StatusBar1->showMessage(failed ? QStringLiteral("Déconnecté - ") + reason
                                   : QStringLiteral("Déconnecté"));
    if (failed)
        NoticeWhileHidden(QStringLiteral("Connexion à ") + name + QStringLiteral(" impossible"),
                          reason);
    WAVPlayer1->Beep();
}

void TForm1::Button2Click() {
    RAS->Disconnect();
    // The line is down: a session no tick saw ending during the wait ends here, with the
    // connection's name and bytes, instead of staying open for the next connection.
    if (SessionActive)
        EndSession();
    RAS->ResetStats();
    StatusBar1->showMessage(QStringLiteral("Déconnecté"));
    CurrentConnection.clear();
}
