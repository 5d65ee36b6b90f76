#include "core/dialup_scripted_provider.h"
#include "dialup/tras.h"
#include "support/test_support.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <gtest/gtest.h>

namespace {
void Settle() {
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}

class TrasTest : public ::testing::Test {
  protected:
    std::shared_ptr<ScriptedProvider> service = std::make_shared<ScriptedProvider>();
    ScopedRasLibraries libraries{service};
};

} // namespace

TEST_F(TrasTest, EnumerationKeepsFourOfSixConnectionsAndDescribesTheFirst) {
    for (int i = 1; i <= 6; ++i)
        service->Active.append({HRASCONN(10 + i), QStringLiteral("Fai%1").arg(i)});
    TRAS ras;
    EXPECT_EQ(ras.EnumConnections(), Ras::BufferTooSmall); // tolerated: more than 4
    EXPECT_EQ(ras.NumConns, 6u);
    ASSERT_EQ(ras.Connections.Count(), 4);
    EXPECT_EQ(ras.Connections.ConnectionName(3), QStringLiteral("Fai4"));
    EXPECT_EQ(ras.CurConnName, QStringLiteral("Fai1"));
    EXPECT_EQ(ras.CurRASConn, 11u);
    QString name;
    service->Active.removeFirst();
    ras.FirstConnectionName(&name);
    EXPECT_EQ(name, QStringLiteral("Fai2"));
    EXPECT_EQ(ras.Connections.Count(), 4); // left untouched
}

TEST_F(TrasTest, NoConnectionLeavesNothingToAttach) {
    TRAS ras;
    EXPECT_EQ(ras.EnumConnections(), 0);
    EXPECT_EQ(ras.Connections.Count(), 0);
    EXPECT_TRUE(ras.CurConnName.isEmpty());
    EXPECT_EQ(ras.CurRASConn, 0u);
    EXPECT_EQ(ras.AttachConnection(0), Ras::InvalidHandle);
    EXPECT_EQ(ras.LastError, Ras::InvalidHandle);
    EXPECT_EQ(ras.RASConn, 0u);
}

TEST_F(TrasTest, AttachTakesTheIndexedConnectionAndReadsItsState) {
    service->Active = {{21, QStringLiteral("A")}, {22, QStringLiteral("B")}};
    service->Statuses[22] = {0, Ras::Connected, 0};
    TRAS ras;
    ras.EnumConnections();
    EXPECT_EQ(ras.AttachConnection(1), 0);
    EXPECT_EQ(ras.RASConn, 22u);
    EXPECT_EQ(ras.ConnectState, Ras::Connected);
    // A held connection stays held; the index is ignored.
    service->Statuses[21] = {0, Ras::Connected, 0};
    ras.AttachConnection(0);
    EXPECT_EQ(ras.RASConn, 22u);
}

TEST_F(TrasTest, StateTextsOfTheStateTable) {
    TRAS ras;
    ras.ConnectState = 2;
    ras.DeviceType = QStringLiteral("Modem");
    EXPECT_EQ(ras.StateText(), QStringLiteral("Numérotation en cours (modem)"));
    ras.ConnectState = 3;
    EXPECT_EQ(ras.StateText(), QStringLiteral("Connecté (modem)"));
    ras.DeviceType.clear();
    ras.ConnectState = 2;
    EXPECT_EQ(ras.StateText(), QStringLiteral("Numérotation en cours"));
    ras.ConnectState = 7;
    EXPECT_EQ(ras.StateText(), QStringLiteral("Etat inconnu - 7"));
    ras.ConnectState = 22;
    EXPECT_EQ(ras.StateText(), QStringLiteral("Etat inconnu - 22"));
    ras.ConnectState = 600;
    EXPECT_EQ(ras.StateText(), QStringLiteral("Etat inconnu - 600"));
    ras.ConnectState = 8192;
    EXPECT_EQ(ras.StateText(), QStringLiteral("Connecté"));
    ras.ConnectState = 8193;
    EXPECT_EQ(ras.StateText(), QStringLiteral("Déconnecté"));
    ras.ConnectState = 678;
    EXPECT_EQ(ras.StateText(), QStringLiteral("L'ordinateur distant ne répond pas."));
    EXPECT_EQ(ras.StateText(), ras.ErrorText(678));
}

TEST_F(TrasTest, ErrorTextFallsBackToTheSystemMessage) {
    TRAS ras;
    EXPECT_EQ(ras.ErrorText(676), QStringLiteral("La ligne est occupée. Réessayez plus tard."));
    EXPECT_EQ(ras.ErrorText(6), QStringLiteral("La connexion n'existe plus."));
    EXPECT_TRUE(ras.ErrorText(4242).isEmpty());
}

TEST_F(TrasTest, CanonicalPhoneNumbers) {
    service->Entry.dwfOptions = Ras::OptionUseCountryAndAreaCodes;
    service->Entry.dwCountryCode = 33;
    Ras::CopyField(service->Entry.szAreaCode, QByteArrayLiteral("1"));
    Ras::CopyField(service->Entry.szLocalPhoneNumber, QByteArrayLiteral("555"));
    TRAS ras;
    ras.EntryName = QStringLiteral("Fai");
    ASSERT_EQ(ras.GetEntryProperties(), 0);
    EXPECT_EQ(ras.PhoneNumber, QStringLiteral("1 555"));
    EXPECT_EQ(ras.PhoneCanonical, QStringLiteral("+33 (1) 555"));

    service->Entry.szAreaCode[0] = '\0';
    ASSERT_EQ(ras.GetEntryProperties(), 0);
    EXPECT_EQ(ras.PhoneNumber, QStringLiteral(" 555"));
    EXPECT_EQ(ras.PhoneCanonical, QStringLiteral("+33 555"));

    service->Entry.dwfOptions = 0;
    ASSERT_EQ(ras.GetEntryProperties(), 0);
    EXPECT_EQ(ras.PhoneNumber, QStringLiteral("555"));
    EXPECT_EQ(ras.PhoneCanonical, QStringLiteral("555"));
}

TEST_F(TrasTest, DeviceFieldSplitsIntoNameAndPort) {
    TRAS ras;
    ras.EntryName = QStringLiteral("Fai");
    const char withPort[] = " Modem standard \0 COM2 ";
    std::memcpy(service->Entry.szDeviceName, withPort, sizeof withPort);
    Ras::CopyField(service->Entry.szDeviceType, QByteArrayLiteral("modem"));
    ASSERT_EQ(ras.GetEntryProperties(), 0);
    EXPECT_EQ(ras.DeviceName, QStringLiteral("Modem standard"));
    EXPECT_EQ(ras.DevicePort, QStringLiteral("COM2"));
    EXPECT_EQ(ras.DeviceType, QStringLiteral("modem"));

    std::memset(service->Entry.szDeviceName, 0, sizeof service->Entry.szDeviceName);
    Ras::CopyField(service->Entry.szDeviceName, QByteArrayLiteral("Modem seul"));
    ras.GetEntryProperties();
    EXPECT_EQ(ras.DeviceName, QStringLiteral("Modem seul"));
    EXPECT_TRUE(ras.DevicePort.isEmpty());

    const char leadingZero[] = "\0COM3";
    std::memset(service->Entry.szDeviceName, 0, sizeof service->Entry.szDeviceName);
    std::memcpy(service->Entry.szDeviceName, leadingZero, sizeof leadingZero);
    ras.GetEntryProperties();
    EXPECT_TRUE(ras.DevicePort.isEmpty());
}

TEST_F(TrasTest, StatusWithoutHandleIs601AndKeepsLastError) {
    TRAS ras;
    ras.LastError = 1234;
    EXPECT_EQ(ras.GetConnectStatus(), Ras::NoConnection);
    EXPECT_EQ(ras.LastError, 1234);
    QString text;
    ras.StatusText(&text);
    EXPECT_EQ(text, QStringLiteral("Not Connected"));
}

TEST_F(TrasTest, StatusTextsOfTheStatusCodes) {
    service->Active = {{30, QStringLiteral("A")}};
    TRAS ras;
    ras.EnumConnections();
    service->Statuses[30] = {0, Ras::Connected, 0};
    ras.AttachConnection(0);
    QString text;
    ras.StatusText(&text);
    EXPECT_EQ(text, QStringLiteral("Connecté"));
    service->Statuses[30] = {Ras::Pending, 0, 0};
    ras.StatusText(&text);
    EXPECT_EQ(text, QStringLiteral("Device Connecting/Dialling"));
    service->Statuses[30] = {Ras::NotEnoughMemory, 0, 0};
    ras.StatusText(&text);
    EXPECT_EQ(text, QStringLiteral("Not enough memory"));
    service->Statuses[30] = {0, Ras::Disconnected, Ras::RemoteDisconnection};
    ras.StatusText(&text);
    EXPECT_EQ(ras.LastError, Ras::RemoteDisconnection);
    EXPECT_EQ(text, QStringLiteral("La connexion a été coupée par l'ordinateur distant."));
    service->Statuses.remove(30);
    ras.StatusText(&text);
    EXPECT_EQ(text, QStringLiteral("Disconnected"));
    EXPECT_EQ(ras.StatusStr, text);
    service->Statuses[30] = {42, 0, 0};
    ras.StatusText(&text);
    EXPECT_EQ(text, QStringLiteral("Unknown State"));
}

TEST_F(TrasTest, RepeatedStateIsReportedOnceAndEveryErrorIsPassedOn) {
    TRAS ras;
    int changes = 0;
    QStringList texts;
    QObject::connect(&ras, &TRAS::OnStateChanged, [&] {
        ++changes;
        texts << ras.StatusStr;
    });
    int connects = 0;
    QObject::connect(&ras, &TRAS::OnConnect, [&] { ++connects; });
    ras.EntryName = QStringLiteral("Fai");
    ASSERT_EQ(ras.Dial(), 0);
    ASSERT_NE(ras.RASConn, 0u);
    PostDialProgress(service->LastNotifier, Ras::PortOpened, 0);
    PostDialProgress(service->LastNotifier, Ras::PortOpened, 0);
    PostDialProgress(service->LastNotifier, Ras::ConnectDevice, 0);
    Settle();
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(texts, QStringList({QStringLiteral("Port série ouvert"),
                                  QStringLiteral("Numérotation en cours")}));
    PostDialProgress(service->LastNotifier, Ras::ConnectDevice, Ras::LineBusy);
    PostDialProgress(service->LastNotifier, Ras::ConnectDevice, Ras::LineBusy);
    Settle();
    EXPECT_EQ(changes, 4);
    EXPECT_EQ(ras.ConnectState, Ras::LineBusy);
    EXPECT_EQ(ras.LastError, Ras::LineBusy);
    EXPECT_EQ(ras.SavedState, 0);
    EXPECT_EQ(ras.StatusStr, QStringLiteral("La ligne est occupée. Réessayez plus tard."));
    EXPECT_EQ(connects, 0);
}

TEST_F(TrasTest, ProgressReachesEachStateEventAndDisconnectReportsTheStatus) {
    TRAS ras;
    QStringList events;
    QObject::connect(&ras, &TRAS::OnAboutToOpenPort, [&] { events << "open"; });
    QObject::connect(&ras, &TRAS::OnAuthenticated, [&] { events << "auth"; });
    QObject::connect(&ras, &TRAS::OnConnect, [&] { events << "connect"; });
    QObject::connect(&ras, &TRAS::OnDisconnect, [&](int error, const QString&) {
        events << QStringLiteral("disconnect %1").arg(error);
    });
    ras.EntryName = QStringLiteral("Fai");
    ras.Dial();
    for (quint32 state : {0u, 14u, 18u, 8192u, 8193u})
        PostDialProgress(service->LastNotifier, state, 0);
    Settle();
    EXPECT_EQ(events, QStringList({"open", "auth", "connect", "disconnect 0"}));
    EXPECT_EQ(ras.ConnectState, Ras::Disconnected);
}

TEST_F(TrasTest, ReportsAfterTheHangUpAreDropped) {
    TRAS ras;
    int changes = 0;
    QObject::connect(&ras, &TRAS::OnStateChanged, [&] { ++changes; });
    ras.EntryName = QStringLiteral("Fai");
    ras.Dial();
    const DialNotifier notifier = service->LastNotifier;
    ras.HangUp();
    PostDialProgress(notifier, Ras::Connected, 0);
    Settle();
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(ras.ConnectState, 0);
}

TEST_F(TrasTest, DialHangsUpTheHeldConnectionFirst) {
    TRAS ras;
    ras.EntryName = QStringLiteral("Fai");
    ras.Dial();
    const HRASCONN first = ras.RASConn;
    ras.Dial();
    EXPECT_EQ(service->HungUp, QList<HRASCONN>({first}));
    EXPECT_NE(ras.RASConn, first);
    EXPECT_EQ(ras.SavedState, 9999);
}

TEST_F(TrasTest, FailedDialLeavesTheServiceText) {
    service->DialCode = Ras::CannotFindEntry;
    TRAS ras;
    ras.EntryName = QStringLiteral("Fai");
    EXPECT_EQ(ras.Dial(), Ras::CannotFindEntry);
    EXPECT_EQ(ras.RASConn, 0u);
    EXPECT_EQ(ras.StatusStr, QStringLiteral("Connexion introuvable."));
}

TEST_F(TrasTest, DialRecordCutsEachFieldAtItsLimit) {
    TRAS ras;
    ras.EntryName = QString(300, QLatin1Char('e'));
    ras.PhoneNumber = QString(200, QLatin1Char('1'));
    ras.CallbackNumber = QString(200, QLatin1Char('2'));
    ras.UserName = QString(300, QLatin1Char('u'));
    ras.Password = QString(300, QLatin1Char('p'));
    ras.Domain = QStringLiteral("0123456789ABCDEFGHIJ");
    ras.Dial();
    const RASDIALPARAMSA& sent = service->LastDial;
    EXPECT_EQ(sent.dwSize, 1052u);
    EXPECT_EQ(qstrlen(sent.szEntryName), 256u);
    EXPECT_EQ(qstrlen(sent.szPhoneNumber), 128u);
    EXPECT_EQ(qstrlen(sent.szCallbackNumber), 128u);
    EXPECT_EQ(qstrlen(sent.szUserName), 256u);
    EXPECT_EQ(qstrlen(sent.szPassword), 256u);
    EXPECT_EQ(QByteArray(sent.szDomain), QByteArray("0123456789ABCDE"));
    // The component does not keep the password in its record after the call.
    EXPECT_EQ(ras.DialParams.szPassword[0], '\0');
}

TEST_F(TrasTest, DialParamsGivePasswordOnlyWhenStored) {
    TRAS ras;
    ras.EntryName = QStringLiteral("Fai");
    ASSERT_EQ(ras.GetDialParams(), 0);
    EXPECT_EQ(ras.UserName, QStringLiteral("jdupont"));
    EXPECT_EQ(ras.Password, QStringLiteral("s3cret"));
    service->PasswordStored = 0;
    ras.GetDialParams();
    EXPECT_TRUE(ras.Password.isEmpty());
}

TEST_F(TrasTest, PhoneBookPathScopesOnlyTheOperationsThatTakeIt) {
    service->EntryList = {QStringLiteral("A")};
    TRAS ras;
    ras.SetPhoneBookPath(QStringLiteral("/tmp/book"));
    ras.EntryName = QStringLiteral("A");
    ras.GetDialParams();
    ras.SetDialParams();
    ras.GetEntryProperties();
    ras.Dial();
    ras.EditEntry();
    ras.CreateEntry();
    ras.RenameEntry(QStringLiteral("B"));
    ras.DeleteEntry();
    ras.ValidateName(QStringLiteral("C"));
    QStringList books;
    for (const QString& call : service->Calls)
        if (call.contains(QLatin1Char(':')))
            books << call;
    EXPECT_EQ(books,
              QStringList({"RasEnumEntriesA:/tmp/book", "RasGetEntryDialParamsA:/tmp/book",
                           "RasSetEntryDialParamsA:/tmp/book", "RasGetEntryPropertiesA:/tmp/book",
                           "RasDialA:/tmp/book", "RasEditPhonebookEntryA:<default>",
                           "RasCreatePhonebookEntryA:<default>", "RasValidateEntryNameA:<default>",
                           "RasRenameEntryA:<default>", "RasDeleteEntryA:<default>",
                           "RasValidateEntryNameA:<default>"}));
    EXPECT_EQ(ras.Entries, QStringList({"A"}));
    EXPECT_TRUE(ras.EntryName.isEmpty()); // deleted
}

TEST_F(TrasTest, MoreThanAHundredEntriesLeaveTheListEmpty) {
    for (int i = 0; i < 101; ++i)
        service->EntryList << QStringLiteral("E%1").arg(i);
    TRAS ras;
    EXPECT_EQ(ras.EnumEntries(), Ras::BufferTooSmall);
    EXPECT_TRUE(ras.Entries.isEmpty());
    service->EntryList.removeLast();
    EXPECT_EQ(ras.EnumEntries(), 0);
    EXPECT_EQ(ras.Entries.size(), 100);
}

TEST_F(TrasTest, DisconnectWaitsInTheEventLoopUntilTheConnectionIsGone) {
    service->Active = {{40, QStringLiteral("A")}};
    service->Statuses[40] = {0, Ras::Connected, 0};
    TRAS ras;
    ras.EnumConnections();
    ras.AttachConnection(0);
    QStringList texts;
    QObject::connect(&ras, &TRAS::OnStateChanged, [&] { texts << ras.StatusStr; });
    QTimer::singleShot(100, [&] { service->Statuses[40] = {0, Ras::Disconnected, 0}; });
    QTimer::singleShot(300, [&] { service->Statuses.remove(40); });
    service->Calls.clear();
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(ras.Disconnect(), 0);
    EXPECT_GE(clock.elapsed(), 290);
    EXPECT_EQ(ras.RASConn, 0u);
    EXPECT_EQ(service->HungUp, QList<HRASCONN>({40}));
    EXPECT_TRUE(texts.contains(QStringLiteral("Déconnecté")));
    // It sleeps between two looks: a handful of status calls, not thousands.
    EXPECT_LT(service->Calls.count(QStringLiteral("RasGetConnectStatusA")), 20);
}

TEST(TrasDisconnectTest, ARefusedHangUpEndsTheWaitAtOnce) {
    // A session another user started cannot be signalled: it stays up, so waiting for the
    // line to drop must not begin.
    struct RefusingProvider : ScriptedProvider {
        quint32 RasHangUpA(HRASCONN connection) override {
            HungUp << connection;
            return 5;
        }
    };
    auto service = std::make_shared<RefusingProvider>();
    ScopedRasLibraries libraries{service};
    service->Active = {{45, QStringLiteral("A")}};
    service->Statuses[45] = {0, Ras::Connected, 0};
    TRAS ras;
    ras.EnumConnections();
    ras.AttachConnection(0);
    QObject guard; // the timer below only ends a wait that should not have begun
    QTimer::singleShot(2000, &guard, [&] { service->Statuses.remove(45); });
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(ras.Disconnect(), 5);
    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_EQ(ras.RASConn, 0u);
    EXPECT_EQ(ras.LastError, 5);
    EXPECT_EQ(service->HungUp, QList<HRASCONN>({45}));
}

TEST_F(TrasTest, ReleaseLeavesTheConnectionUp) {
    service->Active = {{50, QStringLiteral("A")}};
    service->Statuses[50] = {0, Ras::Connected, 0};
    TRAS ras;
    ras.EnumConnections();
    ras.AttachConnection(0);
    ras.ReleaseConnection();
    EXPECT_EQ(ras.RASConn, 0u);
    EXPECT_TRUE(service->HungUp.isEmpty());
}

TEST_F(TrasTest, IpAddressesOnlyWithAHeldConnection) {
    TRAS ras;
    EXPECT_EQ(ras.GetIPAddresses(), 0);
    EXPECT_TRUE(ras.ClientIP.isEmpty());
    service->Active = {{60, QStringLiteral("A")}};
    service->Statuses[60] = {0, Ras::Connected, 0};
    ras.EnumConnections();
    ras.AttachConnection(0);
    EXPECT_EQ(ras.GetIPAddresses(), 0);
    EXPECT_EQ(ras.ClientIP, QStringLiteral("10.0.0.2"));
    EXPECT_EQ(ras.ServerIP, QStringLiteral("10.0.0.1"));
}

// ---- Binding -------------------------------------------------------------------------------

TEST(RasBindingTest, UnavailableBindingFailsEveryOperationWith1157AndLoadsOnce) {
    ScopedRasLibraries none{nullptr};
    TRAS ras;
    EXPECT_FALSE(ras.RasAvailable());
    EXPECT_EQ(ras.LastError, 1157);
    EXPECT_EQ(ras.StatusStr, QStringLiteral("RASAPI32.DLL Not Available"));
    EXPECT_EQ(RasLibraryLoadCount(), 1);
    EXPECT_FALSE(ras.LoadRasApi());
    EXPECT_EQ(ras.EnumEntries(), 1157);
    EXPECT_EQ(ras.EnumConnections(), 1157);
    EXPECT_EQ(ras.Dial(), 1157);
    EXPECT_EQ(ras.GetDialParams(), 1157);
    EXPECT_EQ(ras.ValidateName(QStringLiteral("x")), 1157);
    EXPECT_EQ(RasLibraryLoadCount(), 1);
    EXPECT_FALSE(ras.ControlStats(true, true));
}

TEST(RasBindingTest, WithoutEntryGroupOnlyTheEntryOperationsFail) {
    auto core = std::make_shared<ScriptedProvider>();
    core->Missing = {"RasGetCountryInfoA"};
    ScopedRasLibraries libraries{core};
    TRAS ras;
    ASSERT_TRUE(ras.RasAvailable());
    EXPECT_FALSE(ras.EntryFunctionsAvailable());
    ras.EntryName = QStringLiteral("A");
    EXPECT_EQ(ras.GetEntryProperties(), 1157);
    EXPECT_EQ(ras.RenameEntry(QStringLiteral("B")), 1157);
    EXPECT_EQ(ras.DeleteEntry(), 1157);
    EXPECT_EQ(ras.ValidateName(QStringLiteral("B")), 1157);
    EXPECT_EQ(ras.LastError, 1157);
    EXPECT_EQ(ras.Dial(), 0);
    EXPECT_EQ(ras.GetDialParams(), 0);
    EXPECT_EQ(RasLibraryLoadCount(), 2); // RASAPI32.DLL, then RNAPH.DLL tried
}

TEST(RasBindingTest, EntryGroupComesFromTheSecondLibraryWhichIsFreedAtTheEnd) {
    auto core = std::make_shared<ScriptedProvider>();
    core->Missing = {"RasGetCountryInfoA"};
    auto entries = std::make_shared<ScriptedProvider>();
    std::weak_ptr<ScriptedProvider> watch = entries;
    {
        ScopedRasLibraries libraries{core, entries};
        entries.reset();
        TRAS ras;
        ASSERT_TRUE(ras.RasAvailable());
        EXPECT_TRUE(ras.EntryFunctionsAvailable());
        ras.EntryName = QStringLiteral("A");
        EXPECT_EQ(ras.DeleteEntry(), 0);
        EXPECT_TRUE(core->Calls.filter("RasDeleteEntryA").isEmpty());
        SetRasLibraryLoader({});
    }
    EXPECT_TRUE(watch.expired());
}

TEST(RasBindingTest, EmptyCoreSlotFailsLikeAnUnavailableBinding) {
    auto core = std::make_shared<ScriptedProvider>();
    core->Missing = {"RasGetProjectionInfoA", "RasHangUpA"};
    ScopedRasLibraries libraries{core};
    TRAS ras;
    ASSERT_TRUE(ras.RasAvailable());
    core->Active = {{7, QStringLiteral("A")}};
    core->Statuses[7] = {0, Ras::Connected, 0};
    ras.EnumConnections();
    ras.AttachConnection(0);
    EXPECT_EQ(ras.GetIPAddresses(), 0);
    EXPECT_TRUE(ras.ClientIP.isEmpty());
    EXPECT_EQ(ras.HangUp(), 0);
    EXPECT_EQ(ras.LastError, 1157);
    EXPECT_EQ(ras.RASConn, 7u); // kept, as with an unavailable binding
}

// ---- Statistics ----------------------------------------------------------------------------

TEST_F(TrasTest, StatisticsKeepBaselineRestartOnBackwardCounterAndNeverDecrease) {
    service->Active = {{70, QStringLiteral("A")}};
    service->Statuses[70] = {0, Ras::Connected, 0};
    service->Counters[70] = {{QStringLiteral("ppp0#5"), 1000, 5000}};
    TRAS ras;
    ras.EnumConnections();
    ras.AttachConnection(0);
    // Start-up: what the link counted before is not reported.
    ASSERT_TRUE(ras.ControlStats(true, true));
    EXPECT_EQ(ras.KeyDUNAdap, QStringLiteral("ppp0#5"));
    EXPECT_EQ(ras.StatsXmit, 0);
    service->Counters[70] = {{QStringLiteral("ppp0#5"), 1500, 9000}};
    ASSERT_TRUE(ras.ReadStats());
    EXPECT_EQ(ras.StatsXmit, 500);
    EXPECT_EQ(ras.StatsRecv, 4000);
    // Sent counter went backwards: a new baseline at the current values.
    service->Counters[70] = {{QStringLiteral("ppp0#5"), 200, 9500}};
    ASSERT_TRUE(ras.ReadStats());
    EXPECT_EQ(ras.StatsXmit, 0);
    EXPECT_EQ(ras.StatsRecv, 0);
    service->Counters[70] = {{QStringLiteral("ppp0#5"), 300, 9600}};
    ras.ReadStats();
    EXPECT_EQ(ras.StatsXmit, 100);
    EXPECT_EQ(ras.StatsRecv, 100);
    // Several interfaces: the largest value of each counter.
    service->Counters[70] = {{QStringLiteral("ppp0#5"), 350, 9600},
                             {QStringLiteral("ppp1#6"), 250, 9900}};
    ras.ReadStats();
    EXPECT_EQ(ras.StatsXmit, 150);
    EXPECT_EQ(ras.StatsRecv, 400);
    ras.ResetStats();
    EXPECT_EQ(ras.StatsXmit, 0);
}

TEST_F(TrasTest, ANewLinkCountsFromItsBeginning) {
    TRAS ras;
    ras.EntryName = QStringLiteral("A");
    ras.Dial();
    const HRASCONN handle = ras.RASConn;
    EXPECT_FALSE(ras.ReadStats()); // no interface yet
    service->Counters[handle] = {{QStringLiteral("ppp0#9"), 120, 900}};
    ASSERT_TRUE(ras.ReadStats());
    EXPECT_EQ(ras.StatsXmit, 120);
    EXPECT_EQ(ras.StatsRecv, 900);
}

TEST_F(TrasTest, CountersBeyond4GiBReadWhole) {
    TRAS ras;
    ras.EntryName = QStringLiteral("A");
    ras.Dial();
    service->Counters[ras.RASConn] = {{QStringLiteral("ppp0#1"), 5000000000ull, 1}};
    ras.ReadStats();
    EXPECT_EQ(ras.StatsXmit, 5000000000);
}

TEST_F(TrasTest, LinkUpIsAskedOfTheProvider) {
    TRAS ras;
    EXPECT_FALSE(ras.LinkUp());
    service->LinkIsUp = true;
    EXPECT_TRUE(ras.LinkUp(QStringLiteral("A")));
}
