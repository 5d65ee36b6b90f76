#include "core/dialup_test_support.h"
#include "dialup/pppd_phonebook.h"
#include "support/test_support.h"

#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
class PppdProviderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        provider = std::make_shared<PppdProvider>(fixture.options);
        libraries = std::make_unique<ScopedRasLibraries>(provider);
        ras = std::make_unique<TRAS>();
        QObject::connect(ras.get(), &TRAS::OnStateChanged, [this] { states << ras->ConnectState; });
        ASSERT_TRUE(ras->RasAvailable());
    }
    void TearDown() override {
        if (ras->RASConn)
            ras->Disconnect();
        ras.reset();
        libraries.reset();
        provider.reset();
    }
    void DialAndWait(const QString& entry) { DIAL_AND_WAIT(ras, entry); }

    PppdFixture fixture;
    std::shared_ptr<PppdProvider> provider;
    std::unique_ptr<ScopedRasLibraries> libraries;
    std::unique_ptr<TRAS> ras;
    QList<quint16> states;
};

mode_t ModeOf(const QString& file) {
    struct stat info {};
    ::stat(QFile::encodeName(file).constData(), &info);
    return info.st_mode & 0777;
}
} // namespace

TEST_F(PppdProviderTest, ListsThePeersFilesButNotTheBackups) {
    ras->SetPhoneBookPath(fixture.Folder());
    EXPECT_EQ(ras->Entries, QStringList({"monfai", "provider"}));
    // A folder the user may not read (not in the group dip) is said so, not listed as empty.
    if (geteuid() == 0)
        return; // root reads it anyway
    const QByteArray peers = QFile::encodeName(fixture.Folder() + "/peers");
    ASSERT_EQ(::chmod(peers.constData(), 0), 0);
    EXPECT_EQ(ras->EnumEntries(), Ras::CannotOpenPhonebook);
    EXPECT_TRUE(ras->StatusStr.contains(QStringLiteral("« dip »")));
    ::chmod(peers.constData(), 0755);
}

TEST_F(PppdProviderTest, ReadsPppconfigAndDebianTemplateEntries) {
    ras->SetPhoneBookPath(fixture.Folder());
    ras->EntryName = QStringLiteral("monfai");
    ASSERT_EQ(ras->GetEntryProperties(), 0);
    EXPECT_EQ(ras->PhoneNumber, QStringLiteral("0860123456"));
    EXPECT_EQ(ras->DeviceName, QStringLiteral("Modem (115200 bit/s)"));
    EXPECT_EQ(ras->DevicePort, QStringLiteral("/dev/ttyS0"));
    EXPECT_EQ(ras->DeviceType, QStringLiteral("modem"));
    ASSERT_EQ(ras->GetDialParams(), 0);
    EXPECT_EQ(ras->UserName, QStringLiteral("jdupont"));
    EXPECT_EQ(ras->Password, QStringLiteral("s3cret"));

    ras->EntryName = QStringLiteral("provider");
    ASSERT_EQ(ras->GetEntryProperties(), 0);
    EXPECT_EQ(ras->PhoneNumber, QStringLiteral("0860123456")); // from chat's -T
    EXPECT_EQ(ras->DevicePort, QStringLiteral("/dev/modem"));
    ASSERT_EQ(ras->GetDialParams(), 0);
    EXPECT_EQ(ras->UserName, QStringLiteral("myusername@realm"));
    EXPECT_EQ(ras->Password, QStringLiteral("template-password")); // server "*"
}

TEST_F(PppdProviderTest, StoresUserAndPasswordKeepingTheSecretsPrivate) {
    ras->SetPhoneBookPath(fixture.Folder());
    ras->EntryName = QStringLiteral("monfai");
    ras->GetDialParams();
    ras->UserName = QStringLiteral("paul");
    ras->Password = QStringLiteral("n\"ouveau");
    ASSERT_EQ(ras->SetDialParams(), 0);
    ras->UserName.clear();
    ras->Password.clear();
    ASSERT_EQ(ras->GetDialParams(), 0);
    EXPECT_EQ(ras->UserName, QStringLiteral("paul"));
    EXPECT_EQ(ras->Password, QStringLiteral("n\"ouveau"));
    EXPECT_EQ(ModeOf(fixture.Folder() + QStringLiteral("/pap-secrets")), 0600u);
    const QByteArray peers = ReadWholeFile(fixture.Folder() + QStringLiteral("/peers/monfai"));
    EXPECT_TRUE(peers.contains("user \"paul\""));
    EXPECT_FALSE(peers.contains("ouveau"));
    // The other lines of the secrets file are kept.
    EXPECT_TRUE(ReadWholeFile(fixture.Folder() + QStringLiteral("/pap-secrets"))
                    .contains("template-password"));

    // A new secrets file is created readable by its owner only.
    QFile::remove(fixture.Folder() + QStringLiteral("/pap-secrets"));
    QFile::remove(fixture.Folder() + QStringLiteral("/chap-secrets"));
    ASSERT_EQ(ras->SetDialParams(), 0);
    EXPECT_EQ(ModeOf(fixture.Folder() + QStringLiteral("/pap-secrets")), 0600u);
}

TEST_F(PppdProviderTest, NamesThatLeaveThePhonebookAreRefused) {
    ras->SetPhoneBookPath(fixture.Folder());
    for (const QString& name :
         {QStringLiteral("../passwd"), QStringLiteral(".hidden"), QStringLiteral("a/b"),
          QStringLiteral("tab\there"), QString(257, QLatin1Char('x')), QString(),
          QStringLiteral("a;reboot"), QStringLiteral("a\"b")})
        EXPECT_EQ(ras->ValidateName(name), Ras::InvalidName) << name.toStdString();
    EXPECT_EQ(ras->ValidateName(QStringLiteral("monfai")), Ras::AlreadyExists);
    EXPECT_EQ(ras->ValidateName(QStringLiteral("nouveau-fai")), 0);
    ras->EntryName = QStringLiteral("../ppp/peers/monfai");
    EXPECT_EQ(ras->GetDialParams(), Ras::CannotFindEntry);
    EXPECT_EQ(ras->GetEntryProperties(), Ras::CannotFindEntry);
    EXPECT_EQ(ras->Dial(), Ras::CannotFindEntry);
}

TEST_F(PppdProviderTest, ConnectWalksTheStatesAndHangsUpWithSigterm) {
    ras->SetPhoneBookPath(fixture.Folder());
    DialAndWait("monfai");
    EXPECT_EQ(ras->ConnectState, Ras::Connected);
    EXPECT_EQ(states, QList<quint16>({0, 1, 2, 3, 4, 5, 14, 18, 8192}));
    EXPECT_EQ(ras->StatusStr, QStringLiteral("Connecté"));
    EXPECT_EQ(ras->EnumConnections(), 0);
    ASSERT_EQ(ras->Connections.Count(), 1);
    EXPECT_EQ(ras->Connections.ConnectionName(0), QStringLiteral("monfai"));
    QString text;
    ras->StatusText(&text);
    EXPECT_EQ(ras->ConnectState, Ras::Connected);
    EXPECT_TRUE(ras->LinkUp(QStringLiteral("MONFAI")));
    EXPECT_EQ(ras->GetIPAddresses(), 0);
    EXPECT_EQ(ras->ClientIP, QStringLiteral("10.64.64.64"));
    EXPECT_EQ(ras->ServerIP, QStringLiteral("10.64.64.1"));
    ASSERT_TRUE(ras->ReadStats());
    EXPECT_EQ(ras->StatsXmit, 1234);
    EXPECT_EQ(ras->StatsRecv, 5678);

    EXPECT_EQ(ras->Disconnect(), 0);
    EXPECT_EQ(ras->RASConn, 0u);
    EXPECT_EQ(ras->EnumConnections(), 0);
    EXPECT_EQ(ras->Connections.Count(), 0);
    EXPECT_FALSE(QFileInfo::exists(fixture.Path(QStringLiteral("net/ppp0"))));
    EXPECT_FALSE(ras->LinkUp());
}

TEST_F(PppdProviderTest, InterfaceDownMeansNotConnectedYet) {
    ras->SetPhoneBookPath(fixture.Folder());
    DialAndWait("monfai");
    WriteWholeFile(fixture.Path(QStringLiteral("net/ppp0/flags")), "0x1090\n");
    ras->GetConnectStatus();
    EXPECT_EQ(ras->ConnectState, Ras::Projected);
    EXPECT_FALSE(ras->LinkUp());
}

struct FailedDial {
    const char* Scenario;
    int Error;
    const char* Text;
};

class PppdFailedDialTest : public PppdProviderTest,
                           public ::testing::WithParamInterface<FailedDial> {};

TEST_P(PppdFailedDialTest, EndsInTheErrorAndItsFrenchText) {
    qputenv("FAKE_PPPD_SCENARIO", GetParam().Scenario);
    ras->SetPhoneBookPath(fixture.Folder());
    DialAndWait("monfai");
    EXPECT_EQ(ras->ConnectState, GetParam().Error);
    EXPECT_EQ(ras->LastError, GetParam().Error);
    EXPECT_EQ(ras->StatusStr, QString::fromUtf8(GetParam().Text));
    EXPECT_FALSE(states.contains(Ras::Connected));
    // Hung up like the main window does after a failed dial: the handle goes at once.
    EXPECT_EQ(ras->Disconnect(), 0);
    EXPECT_EQ(ras->RASConn, 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Scenarios, PppdFailedDialTest,
    ::testing::Values(
        FailedDial{"busy", 676, "La ligne est occupée. Réessayez plus tard."},
        FailedDial{"badpassword", 691,
                   "Accès refusé : nom d'utilisateur ou mot de passe incorrect."},
        FailedDial{
            "nokernel", 720,
            "PPP n'est pas disponible sur cet ordinateur (module noyau ppp_generic absent)."},
        FailedDial{"noentry", 623, "Connexion introuvable."}));

TEST_F(PppdProviderTest, DroppedLineIsListedWithItsErrorThenGoes) {
    qputenv("FAKE_PPPD_SCENARIO", "drop");
    ras->SetPhoneBookPath(fixture.Folder());
    DialAndWait("monfai");
    ASSERT_EQ(ras->ConnectState, Ras::Connected);
    ASSERT_TRUE(WaitFor([this] { return ras->ConnectState == Ras::RemoteDisconnection; }));
    // What the monitor sees: still listed, no longer connected, with the reason.
    ras->EnumConnections();
    ASSERT_EQ(ras->Connections.Count(), 1);
    QString text;
    ras->StatusText(&text);
    EXPECT_NE(ras->ConnectState, Ras::Connected);
    EXPECT_EQ(text, QStringLiteral("La connexion a été coupée par l'ordinateur distant."));
    ASSERT_TRUE(WaitFor([this] {
        ras->EnumConnections();
        return ras->Connections.Count() == 0;
    }));
    EXPECT_EQ(ras->GetConnectStatus(), Ras::InvalidHandle);
}

TEST_F(PppdProviderTest, CancellingADialIsAUserDisconnection) {
    qputenv("FAKE_PPPD_SCENARIO", "chat");
    qputenv("FAKE_PPPD_MODEM", "silent");
    ras->SetPhoneBookPath(fixture.Folder());
    ras->EntryName = QStringLiteral("monfai");
    ASSERT_EQ(ras->Dial(), 0);
    ASSERT_TRUE(WaitFor([this] { return ras->ConnectState >= 2; }));
    int error = -1;
    QObject::connect(ras.get(), &TRAS::OnDisconnect,
                     [&](int code, const QString&) { error = code; });
    EXPECT_EQ(ras->Disconnect(), 0);
    EXPECT_EQ(error, Ras::InvalidHandle); // the connection is gone
}

TEST_F(PppdProviderTest, MissingPppdFailsAtOnce) {
    fixture.options.PppdPath = fixture.Path(QStringLiteral("no-such-pppd"));
    auto missing = std::make_shared<PppdProvider>(fixture.options);
    ScopedRasLibraries other{missing};
    TRAS local;
    local.SetPhoneBookPath(fixture.Folder());
    local.EntryName = QStringLiteral("monfai");
    EXPECT_EQ(local.Dial(), Ras::ServiceCannotStart);
    EXPECT_EQ(local.RASConn, 0u);
    EXPECT_TRUE(local.StatusStr.startsWith(QStringLiteral("Impossible de lancer pppd")));
}

TEST_F(PppdProviderTest, RealPppdWithoutKernelSupportFailsWithTheRightError) {
    if (QFileInfo::exists(QStringLiteral("/dev/ppp")) ||
        !QFileInfo(QStringLiteral("/usr/sbin/pppd")).isExecutable() || geteuid() != 0)
        GTEST_SKIP() << "needs root, pppd and a kernel without PPP";
    fixture.options.PppdPath = QStringLiteral("/usr/sbin/pppd");
    auto real = std::make_shared<PppdProvider>(fixture.options);
    ScopedRasLibraries other{real};
    TRAS local;
    local.SetPhoneBookPath(fixture.Folder());
    local.EntryName = QStringLiteral("monfai");
    ASSERT_EQ(local.Dial(), 0);
    ASSERT_TRUE(WaitFor([&] { return local.ConnectState >= 600; }));
    EXPECT_EQ(local.ConnectState, Ras::PppNoProtocols);
    local.HangUp();
}

TEST_F(PppdProviderTest, FindsSessionsStartedElsewhereAndSignalsThem) {
    // A process whose command line is "pppd call monfai", with its /run/ppp0.pid.
    const QString bin = fixture.Path(QStringLiteral("bin"));
    QDir().mkpath(bin);
    WriteWholeFile(bin + QStringLiteral("/pppd"),
                   "#!/bin/sh\ntrap 'exit 5' TERM\nsleep 30 &\nwait $!\n");
    QFile::setPermissions(bin + QStringLiteral("/pppd"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QProcess other;
    other.start(bin + QStringLiteral("/pppd"), {QStringLiteral("call"), QStringLiteral("monfai")});
    ASSERT_TRUE(other.waitForStarted());
    WriteWholeFile(fixture.Path(QStringLiteral("run/ppp0.pid")),
                   QByteArray::number(other.processId()) + '\n');
    WriteWholeFile(fixture.Path(QStringLiteral("run/ppp1.pid")), "999999\n"); // stale
    QDir().mkpath(fixture.Path(QStringLiteral("net/ppp0/statistics")));
    WriteWholeFile(fixture.Path(QStringLiteral("net/ppp0/flags")), "0x10d1\n");
    WriteWholeFile(fixture.Path(QStringLiteral("net/ppp0/statistics/tx_bytes")), "100\n");
    WriteWholeFile(fixture.Path(QStringLiteral("net/ppp0/statistics/rx_bytes")), "200\n");

    // A pid file naming a process that only has "pppd" among its arguments is stale too.
    QProcess impostor;
    impostor.start(QStringLiteral("sleep"), {QStringLiteral("30"), QStringLiteral("pppd"),
                                             QStringLiteral("call"), QStringLiteral("monfai")});
    ASSERT_TRUE(impostor.waitForStarted());
    WriteWholeFile(fixture.Path(QStringLiteral("run/ppp2.pid")),
                   QByteArray::number(impostor.processId()) + '\n');

    ASSERT_EQ(ras->EnumConnections(), 0);
    ASSERT_EQ(ras->Connections.Count(), 1);
    EXPECT_EQ(ras->CurConnName, QStringLiteral("monfai"));
    EXPECT_EQ(ras->AttachConnection(0), 0);
    EXPECT_EQ(ras->ConnectState, Ras::Connected);
    EXPECT_TRUE(ras->LinkUp(QStringLiteral("monfai")));
    // Started during the session: only what follows counts.
    ASSERT_TRUE(ras->ControlStats(true, true));
    WriteWholeFile(fixture.Path(QStringLiteral("net/ppp0/statistics/tx_bytes")), "150\n");
    ras->ReadStats();
    EXPECT_EQ(ras->StatsXmit, 50);
    EXPECT_EQ(ras->StatsRecv, 0);

    ras->HangUp();
    EXPECT_TRUE(other.waitForFinished(5000));
}

TEST_F(PppdProviderTest, RenameAndDeleteMoveEveryPieceOfTheEntry) {
    ras->EntryName = QStringLiteral("monfai");
    // Entry management acts on the provider's own phonebook, here the test's.
    ASSERT_EQ(ras->RenameEntry(QStringLiteral("autrefai")), 0);
    EXPECT_EQ(ras->EntryName, QStringLiteral("autrefai"));
    const PppdPhonebook book(fixture.Folder());
    EXPECT_FALSE(book.Exists(QStringLiteral("monfai")));
    PppdEntry entry;
    ASSERT_TRUE(book.Read(QStringLiteral("autrefai"), &entry));
    EXPECT_EQ(entry.RemoteName, QStringLiteral("autrefai"));
    EXPECT_EQ(entry.ChatScript, book.ChatFile(QStringLiteral("autrefai")));
    EXPECT_EQ(entry.PhoneNumber, QStringLiteral("0860123456"));
    QString password;
    EXPECT_TRUE(book.Password(QStringLiteral("jdupont"), QStringLiteral("autrefai"), &password));
    EXPECT_EQ(password, QStringLiteral("s3cret"));
    EXPECT_EQ(ModeOf(book.PapSecrets()), 0600u);

    EXPECT_EQ(ras->RenameEntry(QStringLiteral("provider")), Ras::AlreadyExists);
    ASSERT_EQ(ras->DeleteEntry(), 0);
    EXPECT_FALSE(book.Exists(QStringLiteral("autrefai")));
    EXPECT_TRUE(QFileInfo::exists(book.PeerFile(QStringLiteral("autrefai")) + ".bak"));
    EXPECT_FALSE(ReadWholeFile(book.PapSecrets()).contains("autrefai"));
    EXPECT_TRUE(ReadWholeFile(book.PapSecrets()).contains("template-password"));
}
