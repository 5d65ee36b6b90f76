#include "app/ui/windows.h"
#include "base/ini_file.h"
#include "base/program_files.h"
#include "support/app_fixture.h"
#include "support/ftp_servers.h"
#include "widgets/tform1.h"

#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>

namespace {
QByteArray Tariffs(const QStringList& names) {
    QByteArray file;
    for (const QString& name : names)
        file += name.toUtf8() + ";0,15000;0,10000;60,00000;20,00000;125,00000;15,00000;"
                                "0,07000;0,05000;30,00000\r\n";
    return file;
}
const QByteArray threeTariffs = Tariffs({"Un", "Deux", "Trois"});

class TariffUpdateTest : public AppWindowsTest {
  protected:
    // Restarts the program on three tariffs with the third selected and the update pointed at
    // that port (a timeout of 2 s for the servers that stall).
    void PrepareProgram(quint16 port) {
        StopProgram();
        WriteWholeFile(ProgramFiles::TariffFileName(), threeTariffs);
        IniFile settings(ProgramFiles::SettingsFileName());
        settings.WriteInteger(QStringLiteral("MainW"), QStringLiteral("ComboTarif"), 2);
        settings.WriteString(QStringLiteral("FTP"), QStringLiteral("Host"),
                             QStringLiteral("127.0.0.1"));
        settings.WriteInteger(QStringLiteral("FTP"), QStringLiteral("Port"), port);
        settings.WriteInteger(QStringLiteral("FTP"), QStringLiteral("Timeout"), 2);
        StartProgram();
        ASSERT_EQ(Form1->ComboTarif->currentIndex(), 2);
    }

    // Presses "Mise à jour par Internet" and answers the boxes that come; counts the ticks of
    // a 50 ms timer meanwhile, and checks that the button cannot start a second update.
    std::vector<std::shared_ptr<AnsweredBox>> Update(const QStringList& answers) {
        auto boxes = AnswerBoxes(answers, 60000);
        statusTexts.clear();
        const auto recorder = QObject::connect(Form1->StatusBar1, &QStatusBar::messageChanged,
                                               [this](const QString& text) {
                                                   if (!text.isEmpty())
                                                       statusTexts.append(text);
                                               });
        QTimer ticker;
        ticker.setInterval(50);
        QObject::connect(&ticker, &QTimer::timeout, [this] {
            ++ticks;
            if (Form1->TariffFTP) {
                sawRunning = true;
                if (!QApplication::activeModalWidget() && QApplication::overrideCursor())
                    sawHourglass |= QApplication::overrideCursor()->shape() == Qt::WaitCursor;
                EXPECT_FALSE(Form1->Button7->isEnabled());
                Form1->Button7Click(); // returns at once: no second confirmation
            }
        });
        ticker.start();
        QElapsedTimer elapsed;
        elapsed.start();
        Form1->Button7->click();
        milliseconds = elapsed.elapsed();
        QObject::disconnect(recorder);
        for (const auto& box : boxes)
            box->Cancel();
        EXPECT_TRUE(Form1->Button7->isEnabled());
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        return boxes;
    }

    QString Status() const { return Form1->StatusBar1->currentMessage(); }
    QStringList TariffNames() const {
        QStringList names;
        for (int i = 0; i < Form1->ComboTarif->count(); ++i)
            names.append(Form1->ComboTarif->itemText(i));
        return names;
    }
    // Nothing left beside the program's files by a refused or failed transfer.
    QStringList Leftovers() const {
        return QDir(folder->path()).entryList({QStringLiteral("tallivo.csv?*")}, QDir::Files);
    }
    void ExpectOldTariffsKept() {
        EXPECT_EQ(ReadWholeFile(ProgramFiles::TariffFileName()), threeTariffs);
        EXPECT_EQ(TariffNames(), QStringList({"Un", "Deux", "Trois"}));
        EXPECT_EQ(Form1->ComboTarif->currentIndex(), 2);
        EXPECT_EQ(Leftovers(), QStringList());
    }

    int ticks = 0;
    bool sawRunning = false;
    bool sawHourglass = false;
    QStringList statusTexts;
    qint64 milliseconds = 0;
};
} // namespace

TEST_F(TariffUpdateTest, TheFileNamedLikeTheTariffFileReplacesItAndTheIndexIsKeptWhenItCan) {
    TestFtpServer server;
    ASSERT_TRUE(server.Start());
    PrepareProgram(server.Port());
    const QByteArray five = Tariffs({"A", "B", "C", "D", "E"});
    server.Put(QStringLiteral("tallivo.csv"), five,
               QDateTime(QDate(2026, 11, 5), QTime(14, 30, 15), Qt::UTC));
    server.Put(QStringLiteral("autre.csv"), Tariffs({"Autre"}));
    server.Put(QStringLiteral("Tallivo.csv"), Tariffs({"Casse"}));

    auto boxes = Update({"&Oui", "OK"});
    EXPECT_EQ(boxes[0]->title, QStringLiteral("Confirmation"));
    EXPECT_EQ(
        boxes[0]->text,
        QStringLiteral("Voulez-vous vraiment télécharger le fichier des tarifs ?\nATTENTION : "
                       "votre fichier de tarifs actuel et donc toutes les modifications que "
                       "vous y avez faites seront perdus."));
    EXPECT_EQ(boxes[1]->title, QStringLiteral("Information"));
    EXPECT_EQ(boxes[1]->text,
              QStringLiteral("Le fichier des tarifs a été mis à jour avec succès."));
    EXPECT_EQ(statusTexts,
              QStringList({"Connexion à 127.0.0.1 en cours...", "Connecté à 127.0.0.1",
                           "tallivo.csv reçu", "Déconnecté de 127.0.0.1",
                           "Le fichier de tarifs du 05/11/2026 14:30:15 a été téléchargé."}));
    EXPECT_EQ(ReadWholeFile(ProgramFiles::TariffFileName()), five);
    EXPECT_EQ(TariffNames(), QStringList({"A", "B", "C", "D", "E"}));
    EXPECT_EQ(Form1->ComboTarif->currentIndex(), 2);
    EXPECT_EQ(Form1->Label28->text(), QStringLiteral("C"));
    EXPECT_EQ(Leftovers(), QStringList());

    // A shorter list: the first tariff. What an update cut short by a crash left is removed.
    WriteWholeFile(ProgramFiles::TariffFileName() + QStringLiteral(".recu-ab12CD"), "Tar");
    server.Put(QStringLiteral("tallivo.csv"), Tariffs({"X", "Y"}));
    Update({"&Oui", "OK"});
    EXPECT_EQ(Leftovers(), QStringList());
    EXPECT_EQ(TariffNames(), QStringList({"X", "Y"}));
    EXPECT_EQ(Form1->ComboTarif->currentIndex(), 0);
    // The other sections of the settings file are left as they were.
    EXPECT_EQ(IniFile(ProgramFiles::SettingsFileName())
                  .ReadString(QStringLiteral("FTP"), QStringLiteral("Host"), QString()),
              QStringLiteral("127.0.0.1"));
}

TEST_F(TariffUpdateTest, NoContactsNoServerAndAMissingFileShowsTheErrorBox) {
    TestFtpServer server;
    ASSERT_TRUE(server.Start());
    PrepareProgram(server.Port());
    server.Put(QStringLiteral("autre.csv"), Tariffs({"Autre"}));
    server.Put(QStringLiteral("TALLIVO.csv"), Tariffs({"Casse"}));
    const QString before = Status();
    const int sessions = server.Sessions();

    Update({"&Non"});
    QThread::msleep(300);
    EXPECT_EQ(server.Sessions(), sessions);
    EXPECT_EQ(Status(), before);

    auto boxes = Update({"&Oui", "OK"});
    EXPECT_EQ(boxes[1]->title, QStringLiteral("Erreur"));
    EXPECT_EQ(boxes[1]->text, QStringLiteral("Le fichier tallivo.csv est introuvable sur le "
                                             "serveur."));
    EXPECT_EQ(Status(), QStringLiteral("Déconnecté de 127.0.0.1"));
    ExpectOldTariffsKept();
}

TEST_F(TariffUpdateTest, AServerThatCannotBeReachedShowsNoBoxAndSaysSo) {
    PrepareProgram(FreeLoopbackPort());
    auto boxes = Update({"&Oui", "OK"});
    EXPECT_TRUE(boxes[0]->seen);
    EXPECT_FALSE(boxes[1]->seen);
    EXPECT_EQ(Status(), QStringLiteral("Impossible de joindre le serveur 127.0.0.1."));
    ExpectOldTariffsKept();
}

TEST_F(TariffUpdateTest, ARefusedFileLeavesTheOldOneByteForByteAndTheWindowRunning) {
    TestFtpServer server;
    ASSERT_TRUE(server.Start());
    PrepareProgram(server.Port());
    const auto expectRefused = [this](const char* what) {
        SCOPED_TRACE(what);
        auto boxes = Update({"&Oui", "OK"});
        EXPECT_EQ(boxes[1]->title, QStringLiteral("Erreur"));
        EXPECT_TRUE(boxes[1]->text.startsWith(QStringLiteral("Le fichier reçu a été refusé : ")))
            << boxes[1]->text.toStdString();
        EXPECT_EQ(Status(), QStringLiteral("Déconnecté de 127.0.0.1"));
        ExpectOldTariffsKept();
    };

    server.Put(QStringLiteral("tallivo.csv"), QByteArray());
    expectRefused("empty");
    server.Put(QStringLiteral("tallivo.csv"), QByteArray("\x7f"
                                                         "ELF\x02\x01\x01\0\0\0",
                                                         10));
    expectRefused("binary");
    server.Put(QStringLiteral("tallivo.csv"), threeTariffs.left(threeTariffs.size() - 30));
    expectRefused("cut in a row");
    server.PutSized(QStringLiteral("tallivo.csv"), 50 * 1024 * 1024);
    expectRefused("50 MiB");

    server.Put(QStringLiteral("tallivo.csv"), threeTariffs);
    {
        FileSizeLimit fullDisk(64);
        auto boxes = Update({"&Oui", "OK"});
        EXPECT_TRUE(boxes[1]->text.contains(QStringLiteral("n'a pas pu être écrit sur le disque")))
            << boxes[1]->text.toStdString();
    }
    ExpectOldTariffsKept();

    // A transfer cut by the server, and one that stalls until the 2 s timeout.
    for (const auto mode : {MisbehavingFtpServer::Cut, MisbehavingFtpServer::Stall}) {
        MisbehavingFtpServer misbehaving(mode, threeTariffs.size() + 100, threeTariffs.size());
        ASSERT_TRUE(misbehaving.Started());
        IniFile(ProgramFiles::SettingsFileName())
            .WriteInteger(QStringLiteral("FTP"), QStringLiteral("Port"), misbehaving.Port());
        ticks = 0;
        expectRefused(mode == MisbehavingFtpServer::Cut ? "cut" : "stall");
        if (mode == MisbehavingFtpServer::Stall) {
            EXPECT_GE(milliseconds, 1500);
            EXPECT_GE(ticks, 15); // the timers ran during the wait
            EXPECT_TRUE(sawHourglass);
            EXPECT_TRUE(sawRunning);
        }
    }
}
