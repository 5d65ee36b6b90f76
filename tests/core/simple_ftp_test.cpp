#include "support/ftp_servers.h"
#include "support/test_support.h"
#include "tariff/received_tariff_file.h"
#include "tariff/simple_ftp.h"
#include "tariff/update_server.h"

#include "base/clock.h"
#include "base/formats.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
const QByteArray twoTariffs = "Jour;0,15000;0,10000;60,00000;20,00000;125,00000;15,00000;"
                              "0,07000;0,05000;30,00000\r\n"
                              "Nuit;1,00000;0,00000;0,00000;0,00000;0,00000;1,00000;0,50000;"
                              "0,00000;0,00000\r\n";

class SimpleFtpTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(server.Start());
        ftp.HostName = QStringLiteral("127.0.0.1");
        ftp.Port = server.Port();
        ftp.UserName = QStringLiteral("anonymous");
        ftp.Passive = true;
        ftp.StallTimeout = 5;
        ftp.LocalDir = local.path();
        QObject::connect(&ftp, &TWinInetControl::OnStateChange,
                         [this](int state) { states.append(state); });
    }
    TestFtpServer server;
    TSimpleFTP ftp;
    QTemporaryDir local;
    QList<int> states;
};
} // namespace

TEST_F(SimpleFtpTest, ListsAndFetchesTheFilesOfAFolder) {
    const QDateTime written(QDate(2026, 11, 5), QTime(14, 30, 15), Qt::UTC);
    server.Put(QStringLiteral("tallivo.csv"), twoTariffs, written);
    server.Put(QStringLiteral("autre.csv"), "x");
    server.Put(QStringLiteral("Tallivo.CSV"), "y");
    server.Put(QStringLiteral("notes.txt"), "z");

    ASSERT_TRUE(ftp.Connect());
    EXPECT_EQ(ftp.State(), TWinInetControl::Connected);
    EXPECT_TRUE(ftp.WelcomeText().startsWith(QStringLiteral("257"))); // the reply to PWD
    EXPECT_FALSE(ftp.ChangeDir(QStringLiteral("Absent")));
    EXPECT_TRUE(ftp.ChangeDir(QStringLiteral("Tallivo/")));
    EXPECT_EQ(ftp.CurrentDir(), QStringLiteral("Tallivo"));

    // The mask's letter case counts, as on the server's file system.
    ASSERT_EQ(ftp.FindFiles(QStringLiteral("*.csv"), false), 2);
    QStringList found = ftp.Files();
    found.sort();
    EXPECT_EQ(found, QStringList({"autre.csv", "tallivo.csv"}));
    const int index = static_cast<int>(ftp.Files().indexOf(QStringLiteral("tallivo.csv")));
    const FtpDirectoryRecord record = ftp.GetFileInfo(index);
    EXPECT_EQ(record.Size, twoTariffs.size());
    EXPECT_EQ(DateTimeText(DaysToDateTime(FileTimeToDays(record.LastWriteTime))),
              QStringLiteral("05/11/2026 14:30:15"));
    EXPECT_THROW(ftp.GetFileInfo(2), EFileListError);
    // A date before 1970 is taken for none, not shown as 1601 or worse.
    server.Put(QStringLiteral("ancien.csv"), "x", QDateTime(QDate(1960, 1, 1), QTime(), Qt::UTC));
    ASSERT_EQ(ftp.FindFiles(QStringLiteral("ancien.csv"), false), 1);
    EXPECT_EQ(ftp.GetFileInfo(0).LastWriteTime, 0u);
    ASSERT_EQ(ftp.FindFiles(QStringLiteral("*.csv"), false), 3);
    EXPECT_EQ(ftp.FindFiles(QStringLiteral("/Tallivo/*.txt"), true), 1);
    EXPECT_EQ(ftp.Files(), QStringList({"/Tallivo/notes.txt"}));

    ASSERT_TRUE(ftp.GetFile(QStringLiteral("tallivo.csv")));
    EXPECT_EQ(ReadWholeFile(local.filePath(QStringLiteral("tallivo.csv"))), twoTariffs);
    ASSERT_TRUE(ftp.GetFile(QStringLiteral("autre.csv"), QStringLiteral("copie.csv")));
    EXPECT_EQ(ReadWholeFile(local.filePath(QStringLiteral("copie.csv"))), "x");

    EXPECT_FALSE(ftp.GetFile(QStringLiteral("absent.csv")));
    EXPECT_TRUE(ftp.RemoteFileNotFound());
    EXPECT_FALSE(QFileInfo::exists(local.filePath(QStringLiteral("absent.csv"))));

    server.PutSized(QStringLiteral("gros.csv"), 3 * 1024 * 1024);
    ftp.MaxFileSize = 1024 * 1024;
    EXPECT_FALSE(ftp.GetFile(QStringLiteral("gros.csv")));
    EXPECT_TRUE(ftp.FileTooLarge());
    EXPECT_FALSE(QFileInfo::exists(local.filePath(QStringLiteral("gros.csv"))));

    EXPECT_TRUE(ftp.Disconnect());
    EXPECT_EQ(ftp.State(), TWinInetControl::NotConnected);
    EXPECT_EQ(states, QList<int>({2, 3, 0, 1}));
    EXPECT_FALSE(ftp.GetFile(QStringLiteral("tallivo.csv")));
}

TEST_F(SimpleFtpTest, AFolderChosenBeforeConnectingIsEnteredAtTheConnection) {
    server.Put(QStringLiteral("tallivo.csv"), twoTariffs);
    EXPECT_TRUE(ftp.ChangeDir(QStringLiteral("Tallivo")));
    ASSERT_TRUE(ftp.Connect());
    EXPECT_EQ(ftp.FindFiles(QStringLiteral("*.csv"), false), 1);
    ftp.Disconnect();
}

TEST(SimpleFtpFailures, AServerThatCannotBeReachedFailsSilentlyOrRaises) {
    TSimpleFTP ftp;
    ftp.HostName = QStringLiteral("127.0.0.1");
    ftp.Port = FreeLoopbackPort();
    EXPECT_EQ(ftp.ConnectRetries, 3);
    EXPECT_EQ(ftp.ConnectTimeout(), 300000);
    ftp.SetConnectTimeout(0);
    EXPECT_EQ(ftp.ConnectTimeout(), 300000);
    EXPECT_FALSE(ftp.Connect());
    EXPECT_EQ(ftp.State(), TWinInetControl::NotConnected);
    ftp.SilentExceptions = false;
    try {
        ftp.Connect();
        ADD_FAILURE() << "no error raised";
    } catch (const EWinInetError& error) {
        EXPECT_EQ(error.message(), QStringLiteral("Unable to connect to 127.0.0.1"));
    }
    EXPECT_THROW(ftp.GetFile(QStringLiteral("tallivo.csv")), ESimpleFTPError);
}

TEST(SimpleFtpFailures, AServerListingNamesOnlyIsAskedOnlyForTheRecordRead) {
    MisbehavingFtpServer server(MisbehavingFtpServer::NamesOnly, 300, 0);
    ASSERT_TRUE(server.Started());
    TSimpleFTP ftp;
    ftp.HostName = QStringLiteral("127.0.0.1");
    ftp.Port = server.Port();
    ftp.Passive = true;
    ASSERT_TRUE(ftp.Connect());
    ASSERT_EQ(ftp.FindFiles(QStringLiteral("*.csv"), false), 301);
    const FtpDirectoryRecord record = ftp.GetFileInfo(300);
    EXPECT_EQ(record.Name, QStringLiteral("tallivo.csv"));
    EXPECT_EQ(DateTimeText(DaysToDateTime(FileTimeToDays(record.LastWriteTime))),
              QStringLiteral("05/11/2026 14:30:15"));
    EXPECT_EQ(server.Log().count(QStringLiteral("MDTM")), 1);
    ftp.Disconnect();
}

TEST(SimpleFtpFailures, ATransferThatStallsEndsAfterTheStallTimeout) {
    MisbehavingFtpServer server(MisbehavingFtpServer::Stall, 4000, 1000);
    ASSERT_TRUE(server.Started());
    QTemporaryDir local;
    TSimpleFTP ftp;
    ftp.HostName = QStringLiteral("127.0.0.1");
    ftp.Port = server.Port();
    ftp.Passive = true;
    ftp.StallTimeout = 1;
    ftp.LocalDir = local.path();
    ASSERT_TRUE(ftp.Connect());
    EXPECT_FALSE(ftp.GetFile(QStringLiteral("tallivo.csv")));
    EXPECT_FALSE(ftp.RemoteFileNotFound());
    EXPECT_FALSE(QFileInfo::exists(local.filePath(QStringLiteral("tallivo.csv"))));
    ftp.Disconnect();
}

TEST(ReceivedTariffFile, OnlyAWholeTariffFileIsAccepted) {
    using ReceivedTariffFile::Verdict;
    QTemporaryDir folder;
    const QString received = folder.filePath(QStringLiteral("recu"));
    const struct {
        QByteArray contents;
        Verdict verdict;
    } cases[] = {
        {twoTariffs, Verdict::Accepted},
        {twoTariffs.left(twoTariffs.size() - 20), Verdict::NotTariffFile}, // cut in a row
        {"", Verdict::Empty},
        {"\r\n  \r\n", Verdict::NotTariffFile},
        {QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), Verdict::NotTariffFile},
        {"<html><body>Not found</body></html>\n", Verdict::NotTariffFile},
        {"Jour;abc;0;0;0;0;1;0;0;0\r\n", Verdict::NotTariffFile},
        {"Jour;0,1;0;0;0;0;1;0;0;0;en trop\r\n", Verdict::NotTariffFile},
        {QByteArray(ReceivedTariffFile::MaxSize + 1, 'a'), Verdict::TooLarge},
    };
    for (const auto& test : cases) {
        WriteWholeFile(received, test.contents);
        EXPECT_EQ(ReceivedTariffFile::Check(received), test.verdict)
            << test.contents.left(40).data();
    }
    EXPECT_TRUE(ReceivedTariffFile::RefusalText(Verdict::Empty)
                    .startsWith(QStringLiteral("Le fichier reçu a été refusé : il est vide.")));

    const QString tariffs = folder.filePath(QStringLiteral("tallivo.csv"));
    WriteWholeFile(tariffs, "ancien");
    WriteWholeFile(received, twoTariffs);
    const Result installed = ReceivedTariffFile::Install(received, tariffs);
    ASSERT_TRUE(installed) << installed.Message().toStdString();
    EXPECT_EQ(ReadWholeFile(tariffs), twoTariffs);
    EXPECT_FALSE(QFileInfo::exists(received));
}

TEST(UpdateServerSettings, TheServerIsReadFromItsOwnSectionWithDefaults) {
    QTemporaryDir folder;
    const QString settings = folder.filePath(QStringLiteral("tallivo.ini"));
    UpdateServer server = UpdateServerSettings::Read(settings);
    EXPECT_EQ(server.host, QStringLiteral("ftp.tallivo.fr"));
    EXPECT_EQ(server.port, 21);
    EXPECT_TRUE(server.passive);
    EXPECT_EQ(server.timeoutSeconds, 30);
    WriteWholeFile(settings, "[MainW]\nComboTarif=2\n[FTP]\nHost= 127.0.0.1 \nPort=2121\n"
                             "Passive=0\nTimeout=5\n");
    server = UpdateServerSettings::Read(settings);
    EXPECT_EQ(server.host, QStringLiteral("127.0.0.1"));
    EXPECT_EQ(server.port, 2121);
    EXPECT_FALSE(server.passive);
    EXPECT_EQ(server.timeoutSeconds, 5);
    WriteWholeFile(settings, "[FTP]\nPort=70000\nTimeout=0\n");
    server = UpdateServerSettings::Read(settings);
    EXPECT_EQ(server.port, 21);
    EXPECT_EQ(server.timeoutSeconds, 30);
}
