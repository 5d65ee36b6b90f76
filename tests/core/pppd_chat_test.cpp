// The chat scripts the program writes, run by the real chat program against a simulated
// modem on a pseudo-terminal, exactly as pppd runs its connect script.

#include "core/dialup_test_support.h"
#include "dialup/pppd_dial_tracker.h"
#include "dialup/pppd_phonebook.h"
#include "support/test_support.h"

#include <QProcess>
#include <gtest/gtest.h>

namespace {
bool ChatInstalled() {
    return QFileInfo(QStringLiteral("/usr/sbin/chat")).isExecutable() &&
           QFileInfo(QStringLiteral("/usr/bin/python3")).isExecutable();
}

class PppdChatTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!ChatInstalled())
            GTEST_SKIP() << "needs /usr/sbin/chat (package ppp) and python3";
        entry.Name = QStringLiteral("essai");
        entry.PhoneNumber = QStringLiteral("0860123456");
        entry.UserName = QStringLiteral("jdupont");
        const Result written = book.Write(entry);
        ASSERT_TRUE(written) << written.Message().toStdString();
    }

    // The connect command of the written peers file, with a short time-out.
    QString ConnectCommand() const {
        const QStringList words = SplitWords(ReadWholeFile(book.PeerFile(entry.Name)), false);
        const int at = words.indexOf(QStringLiteral("connect"));
        return at >= 0 ? words.value(at + 1) + QStringLiteral(" -t 2") : QString();
    }

    int RunAgainstModem(const char* outcome, QByteArray* log) {
        QProcess modem;
        modem.setProcessChannelMode(QProcess::MergedChannels);
        modem.start(QStringLiteral("/usr/bin/python3"),
                    {DialupData(QStringLiteral("fakemodem.py")), QString::fromLatin1(outcome),
                     QStringLiteral("sh"), QStringLiteral("-c"), ConnectCommand()});
        if (!modem.waitForFinished(20000)) {
            modem.kill();
            modem.waitForFinished();
            return -1;
        }
        *log = modem.readAll();
        return modem.exitCode();
    }

    QTemporaryDir root;
    PppdPhonebook book{root.filePath(QStringLiteral("etc/ppp"))};
    PppdEntry entry;
};
} // namespace

TEST_F(PppdChatTest, WrittenScriptConnectsAndReportsEachModemAnswer) {
    const PppdDialTracker tracker(ChatAbortStrings(ReadWholeFile(book.ChatFile(entry.Name))));
    struct Case {
        const char* Outcome;
        int ChatCode;
        int Error;
        const char* Line;
    };
    for (const Case& c :
         {Case{"connect", 0, 0, "CONNECT"}, Case{"busy", 4, 676, "Failed (BUSY)"},
          Case{"nocarrier", 5, 679, "Failed (NO CARRIER)"},
          Case{"nodialtone", 7, 680, "Failed (NO DIALTONE)"}, Case{"silent", 3, 678, "alarm"}}) {
        QByteArray log;
        const int code = RunAgainstModem(c.Outcome, &log);
        EXPECT_EQ(code, c.ChatCode) << c.Outcome << "\n" << log.toStdString();
        EXPECT_TRUE(log.contains(c.Line)) << c.Outcome << "\n" << log.toStdString();
        if (code > 0) {
            EXPECT_EQ(tracker.ChatError(code), c.Error) << c.Outcome;
        }
        // The number is dialled as written.
        EXPECT_TRUE(log.contains("send (ATDT0860123456^M)")) << c.Outcome;
    }
}

TEST_F(PppdChatTest, ADeadModemIsTheModemsFault) {
    QByteArray log;
    EXPECT_EQ(RunAgainstModem("dead", &log), 3);
    PppdDialTracker tracker(ChatAbortStrings(ReadWholeFile(book.ChatFile(entry.Name))));
    tracker.Started(true);
    for (const QByteArray& line : log.split('\n'))
        tracker.Line(QString::fromUtf8(line));
    tracker.Line(QStringLiteral("Script /usr/sbin/chat finished (pid 1), status = 0x3"));
    tracker.Line(QStringLiteral("Connect script failed"));
    EXPECT_EQ(tracker.Finished(8, false).Error, quint32(Ras::PortOrDevice));
}

TEST_F(PppdChatTest, DialThroughTheProviderWithTheRealChat) {
    PppdFixture fixture;
    fixture.options.PhonebookFolder = book.Folder();
    auto provider = std::make_shared<PppdProvider>(fixture.options);
    ScopedRasLibraries libraries{provider};
    qputenv("FAKE_PPPD_SCENARIO", "chat");
    struct Case {
        const char* Outcome;
        int State;
    };
    for (const Case& c : {Case{"busy", 676}, Case{"nocarrier", 679}, Case{"connect", 8192}}) {
        qputenv("FAKE_PPPD_MODEM", c.Outcome);
        TRAS ras;
        QList<quint16> states;
        QObject::connect(&ras, &TRAS::OnStateChanged, [&] { states << ras.ConnectState; });
        ras.EntryName = entry.Name;
        ASSERT_EQ(ras.Connect(), 0);
        ASSERT_TRUE(WaitFor([&] { return ras.ConnectState >= 600; }, 20000)) << c.Outcome;
        EXPECT_EQ(ras.ConnectState, c.State) << c.Outcome;
        // chat's own lines tell when the port opened and the number was dialled.
        EXPECT_EQ(states.mid(0, 3), QList<quint16>({0, 1, 2})) << c.Outcome;
        ras.Disconnect();
    }
}
