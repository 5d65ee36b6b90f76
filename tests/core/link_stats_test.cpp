#include "core/dialup_test_support.h"
#include "dialup/link_interfaces.h"
#include "support/test_support.h"

#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {
void MakeInterface(const QString& net, const char* name, const char* flags, const char* tx,
                   const char* rx, const char* index = "7") {
    const QString folder = net + QLatin1Char('/') + QLatin1String(name);
    QDir().mkpath(folder + QStringLiteral("/statistics"));
    WriteWholeFile(folder + QStringLiteral("/flags"), QByteArray(flags) + '\n');
    WriteWholeFile(folder + QStringLiteral("/ifindex"), QByteArray(index) + '\n');
    WriteWholeFile(folder + QStringLiteral("/statistics/tx_bytes"), QByteArray(tx) + '\n');
    WriteWholeFile(folder + QStringLiteral("/statistics/rx_bytes"), QByteArray(rx) + '\n');
}
} // namespace

TEST(LinkStatsTest, ReadsFlagsAndSixtyFourBitCountersFromSysfs) {
    QTemporaryDir net;
    MakeInterface(net.path(), "ppp0", "0x10d1", "5000000000", "42");
    MakeInterface(net.path(), "ppp1", "0x1090", "1", "2");
    EXPECT_TRUE(LinkInterfaces::InterfaceUp(net.path(), QStringLiteral("ppp0")));
    EXPECT_FALSE(LinkInterfaces::InterfaceUp(net.path(), QStringLiteral("ppp1")));
    EXPECT_FALSE(LinkInterfaces::InterfaceUp(net.path(), QStringLiteral("ppp9")));
    EXPECT_FALSE(LinkInterfaces::InterfaceUp(net.path(), QStringLiteral("../ppp0")));
    LinkCounters counters;
    ASSERT_TRUE(LinkInterfaces::ReadCounters(net.path(), QStringLiteral("ppp0"), &counters));
    EXPECT_EQ(counters.Sent, 5000000000ull);
    EXPECT_EQ(counters.Received, 42ull);
    EXPECT_EQ(counters.Source, QStringLiteral("ppp0#7"));
    WriteWholeFile(net.filePath(QStringLiteral("ppp1/statistics/rx_bytes")), "garbage\n");
    EXPECT_FALSE(LinkInterfaces::ReadCounters(net.path(), QStringLiteral("ppp1"), &counters));
}

TEST(LinkStatsTest, CounterGoingBackwardsStartsANewBaseline) {
    PppdFixture fixture;
    auto provider = std::make_shared<PppdProvider>(fixture.options);
    ScopedRasLibraries libraries{provider};
    PppdFixture* f = &fixture;
    TRAS ras;
    ras.SetPhoneBookPath(f->Folder());
    ras.EntryName = QStringLiteral("monfai");
    ASSERT_TRUE(ras.ControlStats(true, true));
    ASSERT_EQ(ras.Connect(), 0);
    ASSERT_TRUE(WaitFor([&] { return ras.ConnectState >= 600; }));
    ASSERT_EQ(ras.ConnectState, Ras::Connected);
    const QString stats = f->Path(QStringLiteral("net/ppp0/statistics/"));
    // A new link counts from its creation.
    ASSERT_TRUE(ras.ReadStats());
    EXPECT_EQ(ras.StatsXmit, 1234);
    EXPECT_EQ(ras.StatsRecv, 5678);
    ras.ResetStats();
    WriteWholeFile(stats + QStringLiteral("tx_bytes"), "2234\n");
    WriteWholeFile(stats + QStringLiteral("rx_bytes"), "6678\n");
    ras.ReadStats();
    EXPECT_EQ(ras.StatsXmit, 1000);
    EXPECT_EQ(ras.StatsRecv, 1000);
    // The interface's counters were reset under us: a new baseline at the current values.
    WriteWholeFile(stats + QStringLiteral("tx_bytes"), "10\n");
    ras.ReadStats();
    EXPECT_EQ(ras.StatsXmit, 0);
    EXPECT_EQ(ras.StatsRecv, 0);
    WriteWholeFile(stats + QStringLiteral("tx_bytes"), "110\n");
    WriteWholeFile(stats + QStringLiteral("rx_bytes"), "7678\n");
    ras.ReadStats();
    EXPECT_EQ(ras.StatsXmit, 100);
    EXPECT_EQ(ras.StatsRecv, 1000);
    // The received counter alone going backwards is seen too.
    WriteWholeFile(stats + QStringLiteral("rx_bytes"), "5\n");
    ras.ReadStats();
    EXPECT_EQ(ras.StatsRecv, 0);
    WriteWholeFile(stats + QStringLiteral("rx_bytes"), "105\n");
    ras.ReadStats();
    EXPECT_EQ(ras.StatsRecv, 100);
    ras.Disconnect();
    EXPECT_FALSE(ras.ReadStats());
}

// Runs inside the namespace made by the test below: the stand-in pppd makes a real TUN
// interface ppp0 there, and the provider reads it from the real /sys and getifaddrs.
TEST(LinkStatsInNamespace, DialsOverARealTunInterface) {
    if (qEnvironmentVariableIsEmpty("TALLIVO_INSIDE_NETNS"))
        GTEST_SKIP() << "runs only inside the namespace of RealTunInterfaceInANetworkNamespace";
    PppdFixture fixture;
    fixture.options.NetFolder = LinkInterfaces::SystemNetFolder;
    auto provider = std::make_shared<PppdProvider>(fixture.options);
    ScopedRasLibraries libraries{provider};
    qputenv("FAKE_PPPD_TUN", "1");
    TRAS ras;
    ras.SetPhoneBookPath(fixture.Folder());
    ras.EntryName = QStringLiteral("monfai");
    ASSERT_TRUE(ras.ControlStats(true, true));
    ASSERT_EQ(ras.Connect(), 0);
    ASSERT_TRUE(WaitFor([&] { return ras.ConnectState >= 600; }));
    ASSERT_EQ(ras.ConnectState, Ras::Connected);
    EXPECT_EQ(ras.GetConnectStatus(), 0);
    EXPECT_EQ(ras.ConnectState, Ras::Connected);
    EXPECT_TRUE(ras.LinkUp());
    EXPECT_EQ(ras.GetIPAddresses(), 0);
    EXPECT_EQ(ras.ClientIP, QStringLiteral("10.64.64.64"));
    EXPECT_EQ(ras.ServerIP, QStringLiteral("10.64.64.1"));
    EXPECT_TRUE(ras.ReadStats());
    EXPECT_GE(ras.StatsXmit, 0);
    EXPECT_EQ(ras.Disconnect(), 0);
    EXPECT_FALSE(QFileInfo::exists(QStringLiteral("/sys/class/net/ppp0")));
    qunsetenv("FAKE_PPPD_TUN");
}

TEST(LinkStatsTest, RealTunInterfaceInANetworkNamespace) {
    if (geteuid() != 0 || QStandardPaths::findExecutable(QStringLiteral("ip")).isEmpty() ||
        !QFileInfo::exists(QStringLiteral("/dev/net/tun")))
        GTEST_SKIP() << "needs root, iproute2 and TUN devices";
    const QString name = QStringLiteral("tallivo-test-%1").arg(getpid());
    if (QProcess::execute(QStringLiteral("ip"),
                          {QStringLiteral("netns"), QStringLiteral("add"), name}) != 0)
        GTEST_SKIP() << "network namespaces are not permitted here";
    QProcess inner;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TALLIVO_INSIDE_NETNS"), QStringLiteral("1"));
    inner.setProcessEnvironment(environment);
    inner.setProcessChannelMode(QProcess::MergedChannels);
    inner.start(QStringLiteral("ip"), {QStringLiteral("netns"), QStringLiteral("exec"), name,
                                       QCoreApplication::applicationFilePath(),
                                       QStringLiteral("--gtest_filter=LinkStatsInNamespace.*")});
    const bool finished = inner.waitForFinished(60000);
    if (!finished) {
        inner.kill();
        inner.waitForFinished();
    }
    const QByteArray output = inner.readAll();
    QProcess::execute(QStringLiteral("ip"), {QStringLiteral("netns"), QStringLiteral("del"), name});
    ASSERT_TRUE(finished);
    EXPECT_EQ(inner.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains("[  PASSED  ] 1 test")) << output.toStdString();
    EXPECT_FALSE(output.contains("SKIPPED")) << output.toStdString();
}
