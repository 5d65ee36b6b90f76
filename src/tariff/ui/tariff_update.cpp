// "Mise à jour par Internet": the tariff file published on the FTP server replaces ours.
#include "base/clock.h"
#include "base/errors.h"
#include "base/formats.h"
#include "base/ini_file.h"
#include "base/program_files.h"
#include "tariff/received_tariff_file.h"
#include "tariff/simple_ftp.h"
#include "tariff/update_server.h"
#include "widgets/message_box.h"
#include "widgets/tform1.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryFile>

void TForm1::Button7Click() {
    if (TariffFTP) // one update at a time: the window stays usable during the transfer
        return;
    if (!AskYesNo(QStringLiteral("Voulez-vous vraiment télécharger le fichier des tarifs ?\n"
                                 "ATTENTION : votre fichier de tarifs actuel et donc toutes les "
                                 "modifications que vous y avez faites seront perdus."),
                  this))
        return;
    Button7->setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const UpdateServer server = UpdateServerSettings::Read(ProgramFiles::SettingsFileName());
    auto* ftp = new TSimpleFTP(this);
    TariffFTP = ftp;
    ftp->HostName = server.host;
    ftp->Port = static_cast<quint16>(server.port);
    ftp->Passive = server.passive;
    ftp->UserName = UpdateServerSettings::UserName;
    ftp->Password.clear();
    ftp->SetConnectTimeout(server.timeoutSeconds * 1000);
    ftp->StallTimeout = server.timeoutSeconds;
    ftp->MaxFileSize = ReceivedTariffFile::MaxSize;
    const QString host = ftp->HostName;
    const QFileInfo tariffFile(ProgramFiles::TariffFileName());

    StatusBar1->showMessage(QStringLiteral("Connexion à ") + host + QStringLiteral(" en cours..."));
    bool fetched = false;
    std::optional<double> serverDate;
    if (ftp->Connect()) {
        ftp->ChangeDir(UpdateServerSettings::RemoteFolder);
        StatusBar1->showMessage(QStringLiteral("Connecté à ") + host);
        bool found = false;
        const int count = ftp->FindFiles(QStringLiteral("*.csv"), false);
        for (int index = 0; index < count; ++index) {
            if (ftp->Files().at(index) != tariffFile.fileName())
                continue;
            found = true;
            serverDate.reset(); // unless the server gave the file's date
            try {
                if (const quint64 written = ftp->GetFileInfo(index).LastWriteTime; written != 0)
                    serverDate = FileTimeToDays(written);
            } catch (const EFileListError&) {
            }
            fetched = FetchTariffFile(tariffFile.fileName(), tariffFile.absolutePath());
        }
        if (!found)
            ShowMessageBox(BoxKind::Error,
                           QStringLiteral("Le fichier ") + tariffFile.fileName() +
                               QStringLiteral(" est introuvable sur le serveur."),
                           {BoxButton::Ok}, this);
        if (ftp->Disconnect()) {
            StatusBar1->showMessage(QStringLiteral("Déconnecté de ") + host);
            if (fetched && serverDate)
                StatusBar1->showMessage(QStringLiteral("Le fichier de tarifs du ") +
                                        DateTimeText(DaysToDateTime(*serverDate)) +
                                        QStringLiteral(" a été téléchargé."));
            else if (fetched)
                StatusBar1->showMessage(QStringLiteral("Le fichier de tarifs a été téléchargé."));
        } else {
            StatusBar1->showMessage(QStringLiteral("Impossible de déconnecter."));
        }
    } else {
        StatusBar1->showMessage(QStringLiteral("Impossible de joindre le serveur ") + host +
                                QLatin1Char('.'));
    }
    TariffFTP = nullptr;
    delete ftp;

    if (fetched) {
        try {
            IniFile(ProgramFiles::SettingsFileName())
                .WriteInteger(QStringLiteral("MainW"), QStringLiteral("ComboTarif"),
                              ComboTarif->currentIndex());
        } catch (const AppError& error) {
            ShowErrorBox(error.message(), this);
        }
        LoadTariffTable();
    }
    QApplication::restoreOverrideCursor();
    Button7->setEnabled(true);
}

bool TForm1::FetchTariffFile(const QString& name, const QString& folder) {
    TSimpleFTP* ftp = TariffFTP;
    if (!ftp)
        return false;
    ftp->LocalDir = folder;
    // Received under a temporary name beside the tariff file, which it replaces once checked.
    // What an update cut short by a crash or a power cut left there goes first.
    const QDir place(folder);
    for (const QString& left :
         place.entryList({name + QStringLiteral(".recu-*")}, QDir::Files | QDir::Hidden))
        QFile::remove(place.filePath(left));
    QTemporaryFile received(place.filePath(name + QStringLiteral(".recu-XXXXXX")));
    if (!received.open()) {
        ShowMessageBox(BoxKind::Error,
                       QStringLiteral("Impossible de créer un fichier dans %1.").arg(folder),
                       {BoxButton::Ok}, this);
        return false;
    }
    received.close();
    using ReceivedTariffFile::Verdict;
    Verdict verdict = Verdict::Interrupted;
    if (ftp->GetFile(name, received.fileName())) {
        verdict = ReceivedTariffFile::Check(received.fileName());
    } else if (ftp->RemoteFileNotFound()) {
        StatusBar1->showMessage(QStringLiteral("Le fichier ") + name +
                                QStringLiteral(" est introuvable sur le serveur."));
        QCoreApplication::processEvents();
        return false;
    } else if (ftp->FileTooLarge()) {
        verdict = Verdict::TooLarge;
    } else if (ftp->LocalWriteFailed()) {
        verdict = Verdict::NotWritten;
    }
    const Result installed =
        verdict == Verdict::Accepted
            ? ReceivedTariffFile::Install(received.fileName(), QDir(folder).filePath(name))
            : Result::Failure(ReceivedTariffFile::RefusalText(verdict));
    received.remove(); // nothing of it stays beside the program while a box waits
    if (installed) {
        // A save during the waits below must not put the old table back over the new file.
        TariffFileProtected = true;
        StatusBar1->showMessage(name + QStringLiteral(" reçu"));
        QApplication::changeOverrideCursor(Qt::ArrowCursor);
        ShowMessageBox(BoxKind::Information,
                       QStringLiteral("Le fichier des tarifs a été mis à jour avec succès."),
                       {BoxButton::Ok}, this);
        QCoreApplication::processEvents();
        return true;
    }
    StatusBar1->showMessage(QStringLiteral("Le fichier reçu a été refusé."));
    ShowMessageBox(BoxKind::Error, installed.Message(), {BoxButton::Ok}, this);
    QCoreApplication::processEvents();
    return false;
}
