// The main window's commands that manage dial-up entries: delete, properties, create,
// rename, user name and password. Every failure goes to the status bar.

#include "base/errors.h"
#include "base/ini_file.h"
#include "base/program_files.h"
#include "dialup/tras.h"
#include "dialup/ui/input_box.h"
#include "dialup/ui/password_dialog.h"
#include "widgets/message_box.h"
#include "widgets/tform1.h"
#include "widgets/wav_player.h"
#include "widgets/window_list.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>

namespace {
const QString associations = QStringLiteral("Associations");
const QString parametersUpdated = QStringLiteral("Paramètres de connexion mis à jour");

// True when the dial-up operation succeeded; otherwise its text goes to the status bar.
bool Succeeded(TForm1* form, int code) {
    if (code != 0)
        form->StatusBar1->showMessage(form->RAS->StatusStr);
    return code == 0;
}
} // namespace

void TForm1::TakeEntryList(bool selectLast) {
    RAS->EnumEntries();
    ComboBox1->clear();
    ComboBox1->addItems(RAS->Entries);
    if (ComboBox1->count() > 0) {
        ComboBox1->setCurrentIndex(selectLast ? ComboBox1->count() - 1 : 0);
    } else {
        // No entry left: the details of the one that went are not shown as if it were there.
        for (QLabel* label : {Label2, Label6, Label8, Label9})
            label->clear();
    }
    ComboBox1Click();
}

void TForm1::Poubelle7Click() {
    const QString name = ComboBox1->currentText();
    if (name.isEmpty())
        return;
    if (!AskYesNo(QStringLiteral("Voulez-vous vraiment supprimer la connexion ") + name +
                      QStringLiteral(" ?"),
                  this))
        return;
    StatusBar1->clearMessage();
    if (ComboBox1->currentIndex() < 0)
        return;
    RAS->EntryName = ComboBox1->currentText();
    // The entry's association stays in the settings file.
    if (Succeeded(this, RAS->DeleteEntry()))
        TakeEntryList(false);
}

void TForm1::Button13Click() {
    StatusBar1->clearMessage();
    if (ComboBox1->currentIndex() < 0)
        return;
    RAS->EntryName = ComboBox1->currentText();
    if (Succeeded(this, RAS->EditEntry()))
        ComboBox1Click(); // the number, port and speed shown are the ones just stored
}

void TForm1::CreateBtnClick() {
    StatusBar1->clearMessage();
    if (Succeeded(this, RAS->CreateEntry()))
        TakeEntryList(true);
}

void TForm1::RenameBtnClick() {
    StatusBar1->clearMessage();
    if (ComboBox1->currentIndex() < 0)
        return;
    const QString oldName = ComboBox1->currentText();
    QString newName = oldName;
    // Letter case counts: a name differing only in case is a new name.
    while (newName == oldName) {
        if (!InputQuery(QStringLiteral("Renommer"), QStringLiteral("Nom de la connexion :"),
                        &newName, this))
            return;
        if (!Succeeded(this, RAS->ValidateName(newName))) {
            WAVPlayer1->Beep();
            newName = oldName;
        }
    }
    StatusBar1->clearMessage();
    RAS->EntryName = oldName;
    if (!Succeeded(this, RAS->RenameEntry(newName)))
        return;
    const QString tariff =
        ComboTarifAsso->currentIndex() >= 0 ? ComboTarifAsso->currentText() : QString();
    if (!tariff.isEmpty()) {
        try {
            IniFile settings(ProgramFiles::SettingsFileName());
            settings.BeginBatch();
            settings.DeleteKey(associations, oldName);
            settings.WriteString(associations, newName, tariff);
            settings.CommitBatch();
        } catch (const AppError& error) {
            StatusBar1->showMessage(error.message());
        }
    }
    TakeEntryList(true);
}

void TForm1::UserBtnClick() {
    ComboBox1Click();
    StatusBar1->clearMessage();
    if (ComboBox1->currentIndex() < 0)
        return;
    RAS->EntryName = ComboBox1->currentText();
    const QString previous = RAS->UserName;
    QString answer = previous;
    if (!InputQuery(RAS->EntryName, QStringLiteral("Nom de l'utilisateur :"), &answer, this))
        return;
    RAS->UserName = answer.isEmpty() ? previous : answer;
    if (Succeeded(this, RAS->SetDialParams()))
        StatusBar1->showMessage(parametersUpdated);
}

void TForm1::PWBtnClick() {
    ComboBox1Click();
    StatusBar1->clearMessage();
    if (ComboBox1->currentIndex() < 0)
        return;
    RAS->EntryName = ComboBox1->currentText();
    const QString previous = RAS->Password;
    Password->setWindowTitle(RAS->EntryName);
    Password->Edit1->setText(previous);
    const bool confirmed = Password->exec() == QDialog::Accepted;
    const QString answer = Password->Edit1->text();
    // The prompt keeps no password once it is closed.
    Password->Edit1->clear();
    if (!confirmed)
        return;
    RAS->Password = answer.isEmpty() ? previous : answer;
    if (Succeeded(this, RAS->SetDialParams()))
        StatusBar1->showMessage(parametersUpdated);
}
