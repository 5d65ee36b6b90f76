#include "dialup/pppd_dial_tracker.h"
#include "dialup/ras_records.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace {
QByteArray DataFile(const char* name) {
    return ReadWholeFile(QStringLiteral(TALLIVO_TEST_DATA "/dialup/etc/chatscripts/") +
                         QLatin1String(name));
}

quint32 ErrorOfExit(int exitCode, const QStringList& lines = {}, bool connected = false) {
    PppdDialTracker tracker;
    tracker.Started(false);
    if (connected) {
        tracker.Line(QStringLiteral("Serial connection established."));
        tracker.Line(QStringLiteral("local  IP address 10.0.0.2"));
        tracker.Line(QStringLiteral("remote IP address 10.0.0.1"));
    }
    for (const QString& line : lines)
        tracker.Line(line);
    return tracker.Finished(exitCode, false).Error;
}
} // namespace

TEST(PppdDialTrackerTest, AbortListsOfPppconfigAndDebianScriptsGiveTheReply) {
    const PppdDialTracker pppconfig(ChatAbortStrings(DataFile("monfai")));
    EXPECT_EQ(pppconfig.ChatError(4), Ras::LineBusy);
    EXPECT_EQ(pppconfig.ChatError(5), Ras::NoCarrier);
    EXPECT_EQ(pppconfig.ChatError(6), Ras::VoiceAnswer);
    EXPECT_EQ(pppconfig.ChatError(7), Ras::NoDialtone);
    EXPECT_EQ(pppconfig.ChatError(8), Ras::NoDialtone);
    EXPECT_EQ(pppconfig.ChatError(9), Ras::NoAnswer);
    EXPECT_EQ(pppconfig.ChatError(10), Ras::FromDevice); // DELAYED
    const PppdDialTracker debian(ChatAbortStrings(DataFile("pap")));
    EXPECT_EQ(debian.ChatError(5), Ras::VoiceAnswer);
    EXPECT_EQ(debian.ChatError(6), Ras::NoCarrier);
    EXPECT_EQ(debian.ChatError(3), Ras::NoAnswer);
}

TEST(PppdDialTrackerTest, ExitCodesGiveTheirErrors) {
    EXPECT_EQ(ErrorOfExit(2, {"pppd: Can't open options file /etc/ppp/peers/x: No such file"}),
              quint32(Ras::CannotFindEntry));
    // A port that does not exist is no device to pppd, but an unknown option.
    EXPECT_EQ(ErrorOfExit(2, {"pppd: In file /etc/ppp/peers/x: unrecognized option '/dev/modem'"}),
              quint32(Ras::DeviceDoesNotExist));
    EXPECT_EQ(ErrorOfExit(2, {"pppd: unrecognized option 'foo'"}), quint32(Ras::CorruptPhonebook));
    EXPECT_EQ(ErrorOfExit(4), quint32(Ras::PppNoProtocols));
    EXPECT_EQ(ErrorOfExit(6, {"Device ttyS0 is locked by pid 1234"}),
              quint32(Ras::PortNotAvailable));
    EXPECT_EQ(ErrorOfExit(7, {"Failed to open /dev/ttyS9: No such file or directory"}),
              quint32(Ras::DeviceDoesNotExist));
    EXPECT_EQ(ErrorOfExit(7, {"Failed to open /dev/ttyS0: Permission denied"}),
              quint32(Ras::PortNotAvailable));
    EXPECT_EQ(ErrorOfExit(8, {"Failed (NO CARRIER)", "Connect script failed"}),
              quint32(Ras::NoCarrier));
    EXPECT_EQ(ErrorOfExit(8, {"Connect script failed"}), quint32(Ras::FromDevice));
    EXPECT_EQ(ErrorOfExit(10, {"LCP: timeout sending Config-Requests"}), quint32(Ras::PppTimeout));
    EXPECT_EQ(ErrorOfExit(10, {"Peer refused to agree to our IP address"}),
              quint32(Ras::PppNoAddress));
    EXPECT_EQ(ErrorOfExit(11), quint32(Ras::CannotAuthenticateServer));
    EXPECT_EQ(ErrorOfExit(12, {}, true), 0u);
    EXPECT_EQ(ErrorOfExit(16), quint32(Ras::PortDisconnected));
    EXPECT_EQ(ErrorOfExit(16, {"Modem hangup"}, true), quint32(Ras::RemoteDisconnection));
    EXPECT_EQ(ErrorOfExit(0, {"LCP terminated by peer"}, true), quint32(Ras::RemoteDisconnection));
    EXPECT_EQ(ErrorOfExit(17), quint32(Ras::PppLoopback));
    EXPECT_EQ(ErrorOfExit(19, {"PAP authentication failed"}), quint32(Ras::AuthenticationFailure));
    EXPECT_EQ(ErrorOfExit(1), quint32(Ras::UnknownError));
    EXPECT_EQ(ErrorOfExit(42), quint32(Ras::UnknownError));
    EXPECT_EQ(ErrorOfExit(5), quint32(Ras::UserDisconnection));
    EXPECT_EQ(ErrorOfExit(5, {}, true), 0u);
}

TEST(PppdDialTrackerTest, OnlyTheFirstScriptResultBeforeTheSerialLinkCounts) {
    PppdDialTracker tracker(ChatAbortStrings(DataFile("monfai")));
    tracker.Started(false);
    tracker.Line(QStringLiteral("Script /usr/sbin/chat -v -f /etc/chatscripts/monfai finished "
                                "(pid 12), status = 0x4"));
    tracker.Line(QStringLiteral("Script /etc/ppp/ip-down finished (pid 13), status = 0x0"));
    tracker.Line(QStringLiteral("Connect script failed"));
    EXPECT_EQ(tracker.Finished(8, false).Error, quint32(Ras::LineBusy));
}

TEST(PppdDialTrackerTest, StatesAreWalkedInOrderEvenWhenTheLogSkipsSome) {
    PppdDialTracker tracker;
    QList<quint32> states;
    auto collect = [&](const QList<DialProgress>& reached) {
        for (const DialProgress& step : reached)
            states << step.State;
    };
    collect(tracker.Started(false));
    collect(tracker.Line(QStringLiteral("sent [LCP ConfReq id=0x1]")));
    collect(tracker.Line(QStringLiteral("Serial connection established.")));
    collect(tracker.Line(QStringLiteral("Using interface ppp3")));
    collect(tracker.Line(QStringLiteral("Connect: ppp3 <--> /dev/ttyS0")));
    collect(tracker.Line(QStringLiteral("CHAP authentication succeeded")));
    collect(tracker.Line(QStringLiteral("CHAP authentication succeeded: welcome")));
    collect(tracker.Line(QStringLiteral("remote IP address 10.0.0.1")));
    EXPECT_EQ(states, QList<quint32>({0, 1, 2, 3, 4, 5, 14, 18, 8192}));
    EXPECT_EQ(tracker.Interface(), QStringLiteral("ppp3"));
    EXPECT_TRUE(tracker.WasConnected());
}

TEST(PppdDialTrackerTest, WordsFollowTheOptionsFileSyntax) {
    EXPECT_EQ(SplitWords("connect \"/usr/sbin/chat -v -f x\" # comment\nuser \"a b\\\"c\"", false),
              QStringList({"connect", "/usr/sbin/chat -v -f x", "user", "a b\"c"}));
    EXPECT_EQ(SplitWords("connect \\\n  \"chat -T 01\"\nuser\\\r\n ab\\\nc", false),
              QStringList({"connect", "chat -T 01", "user", "abc"}));
    EXPECT_EQ(ChatAbortStrings("ABORT BUSY ABORT 'NO CARRIER' CLR_ABORT BUSY ABORT VOICE"),
              QStringList({"NO CARRIER", "VOICE"}));
}
