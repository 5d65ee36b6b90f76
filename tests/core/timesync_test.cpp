// The clock-setting core: RFC 868 decoding, the query against real TCP servers on 127.0.0.1,
// the schedule arithmetic, the time fields, the correction report and the route test.

#include "support/test_support.h"
#include "support/time_servers.h"
#include "timesync/clock_schedule.h"
#include "timesync/correction_report.h"
#include "timesync/internet_state.h"
#include "timesync/time_protocol.h"
#include "timesync/time_query.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <gtest/gtest.h>

namespace {
QDateTime Local(int y, int mo, int d, int h, int mi, int s = 0) {
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s));
}

// A lookup that never answers, like a resolver whose server is gone.
class SilentLookup : public HostLookup {
  public:
    int Start(const QString&, QObject*, Done) override { return ++started; }
    void Abort(int) override { ++aborted; }
    int started = 0;
    int aborted = 0;
};

struct QueryOutcome {
    QString time;
    QString error;
    qint64 elapsedMs = 0;
    int ticks = 0; // of a 20 ms timer of the program while the query ran
};

QueryOutcome RunQuery(TTimeQuery& query) {
    QueryOutcome outcome;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++outcome.ticks; });
    ticker.start(20);
    QElapsedTimer clock;
    clock.start();
    try {
        outcome.time = query.TimeStr();
    } catch (const AppError& error) {
        outcome.error = error.message();
    }
    outcome.elapsedMs = clock.elapsed();
    return outcome;
}

QueryOutcome Ask(quint16 port, int timeOut = 800, const QString& host = "127.0.0.1") {
    TTimeQuery query;
    query.Host = host;
    query.Port = port;
    query.TimeOut = timeOut;
    return RunQuery(query);
}

const QByteArray december2006("\xC9\x2E\x5E\x80", 4); // 12:01:04 UTC, 16 December 2006
} // namespace

TEST(TimeProtocol, CountsAreReadAcrossThe2036Wrap) {
    EXPECT_EQ(TimeCountFromBytes(december2006), 3375259264u);
    EXPECT_EQ(TimeOfDayText(3375259264u), "12:01:04");
    // 2036-02-07 06:28:15 is the last second of the first era, 06:28:16 the first of the next.
    EXPECT_EQ(TimeOfDayText(0xFFFFFFFFu), "06:28:15");
    EXPECT_EQ(TimeOfDayText(0u), "06:28:16");
    const QDateTime later(QDate(2040, 3, 1), QTime(17, 45, 9), Qt::UTC);
    EXPECT_EQ(TimeOfDayText(TimeCountFromBytes(TimeAnswerFor(later))), "17:45:09");
}

TEST(TimeQuery, AnswersOfRealServers) {
    XinetdTimeServer xinetd;
    ASSERT_TRUE(xinetd.ready) << "xinetd's time service did not start";
    const QueryOutcome real = Ask(xinetd.port, 5000);
    ASSERT_EQ(real.error, "");
    const QTime got = QTime::fromString(real.time, "hh:mm:ss");
    const int apart = std::abs(got.secsTo(QDateTime::currentDateTimeUtc().time()));
    EXPECT_TRUE(apart <= 2 || apart >= 86398) << real.time.toStdString();

    FakeTimeServer fixed(FakeTimeServer::Behaviour::Answer, december2006);
    EXPECT_EQ(Ask(fixed.port()).time, "12:01:04");

    FakeTimeServer after2036(FakeTimeServer::Behaviour::Answer,
                             TimeAnswerFor(QDateTime(QDate(2036, 3, 1), QTime(8, 0, 30), Qt::UTC)));
    EXPECT_EQ(Ask(after2036.port()).time, "08:00:30");

    // One byte every 300 ms: the query waits for all four instead of reading the first.
    FakeTimeServer slow(FakeTimeServer::Behaviour::SlowBytes, december2006);
    const QueryOutcome slowly = Ask(slow.port(), 3000);
    EXPECT_EQ(slowly.time, "12:01:04");
    EXPECT_GT(slowly.ticks, 20);

    // A server that sends more than four bytes is no time server: its bytes would give a
    // time of no meaning. One that never stops is refused at once, its flood left unread.
    FakeTimeServer flood(FakeTimeServer::Behaviour::Flood, december2006);
    const QueryOutcome flooded = Ask(flood.port(), 3000);
    EXPECT_EQ(flooded.error, "Le serveur d'horloge a envoyé une réponse qui n'est pas une heure");
    EXPECT_LT(flooded.elapsedMs, 2000);
    FakeTimeServer eight(FakeTimeServer::Behaviour::Answer, december2006 + december2006);
    EXPECT_EQ(Ask(eight.port()).error, flooded.error);
}

TEST(TimeQuery, AnAnswerHeldByAWindowOpenedMeanwhileKnowsItsAge) {
    FakeTimeServer slow(FakeTimeServer::Behaviour::SlowBytes, december2006);
    TTimeQuery query;
    query.Host = "127.0.0.1";
    query.Port = slow.port();
    query.TimeOut = 3000;
    // A modal window opened during the query: its own loop runs for two seconds, in which
    // the whole answer arrives.
    QTimer::singleShot(50, [] {
        QEventLoop modal;
        QTimer::singleShot(2000, &modal, &QEventLoop::quit);
        modal.exec();
    });
    EXPECT_EQ(query.TimeStr(), "12:01:04");
    EXPECT_GE(query.AnswerAgeMs(), 500) << "the time it waited since the answer";
}

TEST(TimeQuery, FailuresEndWithinTheTimeOutWhileTheProgramRuns) {
    constexpr int timeOut = 800;
    const auto expectEnds = [](const QueryOutcome& outcome, const char* text, bool waitsFull) {
        EXPECT_EQ(outcome.error, QString::fromUtf8(text));
        EXPECT_EQ(outcome.time, "");
        EXPECT_LT(outcome.elapsedMs, timeOut + 1500);
        if (waitsFull) {
            EXPECT_GE(outcome.elapsedMs, timeOut - 50);
            EXPECT_GT(outcome.ticks, timeOut / 20 / 3) << "the program's timers stood still";
        }
    };
    expectEnds(Ask(FreeLoopbackPort(), timeOut), "La connexion a dépassé le temps imparti", true);

    FakeTimeServer silent(FakeTimeServer::Behaviour::Silent);
    expectEnds(Ask(silent.port(), timeOut),
               "Le serveur d'horloge n'a pas envoyé l'heure dans le temps imparti", true);
    EXPECT_EQ(silent.accepted, 1);

    FakeTimeServer cut(FakeTimeServer::Behaviour::ThreeBytesThenClose, december2006);
    expectEnds(Ask(cut.port(), timeOut), "Le serveur d'horloge a envoyé une réponse incomplète",
               false);

    SilentLookup lookup;
    TTimeQuery query;
    query.Host = "time.example.invalid";
    query.TimeOut = timeOut;
    query.SetHostLookup(&lookup);
    expectEnds(RunQuery(query), "Temps imparti pour Recherche d'hôte dépassé", true);
    EXPECT_EQ(lookup.aborted, 1);

    // A name the resolver knows not to exist; no handler asks for another try.
    query.SetHostLookup(nullptr);
    query.Host = "";
    EXPECT_EQ(RunQuery(query).error, "Adresse distante nulle");
}

TEST(TimeQuery, TheProgramEndingDuringAQueryEndsIt) {
    FakeTimeServer silent(FakeTimeServer::Behaviour::Silent);
    // A termination signal while the server keeps silent: the query ends without its answer.
    QTimer::singleShot(100, qApp, [] { QCoreApplication::exit(0); });
    EXPECT_EQ(Ask(silent.port(), 60000).time, "");
    // The application may run its loop again for what follows.
    QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
}

TEST(TimeQuery, ADottedAddressNeedsNoLookup) {
    SilentLookup lookup;
    FakeTimeServer fixed(FakeTimeServer::Behaviour::Answer, december2006);
    TTimeQuery query;
    query.Host = "127.0.0.1";
    query.Port = fixed.port();
    query.SetHostLookup(&lookup);
    EXPECT_EQ(query.TimeInt(), static_cast<qint32>(3375259264u));
    EXPECT_EQ(lookup.started, 0);
}

TEST(ClockSchedule, NextSetTexts) {
    EXPECT_EQ(NextSetText(20), "Prochaine mise à l'heure dans 20 minutes");
    EXPECT_EQ(NextSetText(90), "Prochaine mise à l'heure dans 1 heure et 30 minutes");
    EXPECT_EQ(NextSetText(1501), "Prochaine mise à l'heure dans 1 jour, 1 heure et 1 minute");
    EXPECT_EQ(NextSetText(2880), "Prochaine mise à l'heure dans 2 jours");
    EXPECT_EQ(NextSetText(1445), "Prochaine mise à l'heure dans 1 jour et 5 minutes");
    EXPECT_EQ(NextSetText(0), "Prochaine mise à l'heure imminente");
    EXPECT_EQ(NextSetText(-1), "Prochaine mise à l'heure lors de la prochaine connexion");
}

TEST(ClockSchedule, MinutesToTheNextSetting) {
    ClockSchedule daily{ClockSetMode::Daily, 0, "12:00", "12:00", 0};
    EXPECT_EQ(MinutesToNextSet(daily, Local(2026, 12, 8, 11, 59, 40)), 0); // 0.33 rounds to 0
    EXPECT_EQ(MinutesToNextSet(daily, Local(2026, 12, 8, 11, 59, 30)), 0); // half to even
    EXPECT_EQ(MinutesToNextSet(daily, Local(2026, 12, 8, 11, 58, 30)), 2); // half to even
    daily.dailyTime = "08:00";
    EXPECT_EQ(MinutesToNextSet(daily, Local(2026, 12, 8, 9, 0)), 23 * 60);

    // 7 December 2026 is a Monday.
    ClockSchedule weekly{ClockSetMode::Weekly, 0, "", "12:00", 1};
    EXPECT_EQ(NextSetText(MinutesToNextSet(weekly, Local(2026, 12, 7, 12, 0))),
              "Prochaine mise à l'heure dans 1 jour");
    weekly.weeklyDayIndex = 0;
    EXPECT_EQ(NextSetText(MinutesToNextSet(weekly, Local(2026, 12, 7, 12, 30))),
              "Prochaine mise à l'heure dans 6 jours, 23 heures et 30 minutes");
    weekly.weeklyDayIndex = 6; // Sunday, from Saturday 13:00
    EXPECT_EQ(MinutesToNextSet(weekly, Local(2026, 12, 12, 13, 0)), 23 * 60);

    EXPECT_EQ(MinutesToNextSet({ClockSetMode::EveryMinutes, 17, "", "", 0}, QDateTime()), 17);
    EXPECT_EQ(MinutesToNextSet({ClockSetMode::AtConnection, 17, "", "", 0}, QDateTime()), -1);

    for (int index = 0; index < 7; ++index)
        EXPECT_EQ(WeekdayToComboIndex(ComboIndexToWeekday(index)), index);
    EXPECT_EQ(ComboIndexToWeekday(6), 1);
    EXPECT_EQ(WeekdayNumber(QDate(2026, 12, 6)), 1); // Sunday
}

TEST(ClockSchedule, SettingsFallOnTheirMinute) {
    const ClockSchedule daily{ClockSetMode::Daily, 0, "10:05", "", 0};
    EXPECT_TRUE(ClockSetDueAt(daily, Local(2026, 12, 8, 10, 5, 59)));
    EXPECT_FALSE(ClockSetDueAt(daily, Local(2026, 12, 8, 10, 6)));
    const ClockSchedule weekly{ClockSetMode::Weekly, 0, "", "10:05", 1}; // Tuesday
    EXPECT_TRUE(ClockSetDueAt(weekly, Local(2026, 12, 8, 10, 5)));
    EXPECT_FALSE(ClockSetDueAt(weekly, Local(2026, 12, 9, 10, 5)));
}

TEST(ClockSchedule, TimeFieldsAndSpinSteps) {
    EXPECT_EQ(ValidatedTimeField("25:30", "08:15"), "08:30");
    EXPECT_EQ(ValidatedTimeField("09:75", "08:15"), "09:15");
    EXPECT_EQ(ValidatedTimeField(" 9: 5", "08:15"), "09:05");
    EXPECT_EQ(ValidatedTimeField("1", "08:15"), "18:15");
    // A figure deleted in the masked field, and such a field as an earlier version stored it.
    EXPECT_EQ(ValidatedTimeField("_9:45", "08:15"), "09:45");
    EXPECT_EQ(ValidatedTimeField("9:455", "08:15"), "08:55");
    EXPECT_EQ(SteppedTimeField("23:59", TimePart::Hours, +1), "23:59");
    EXPECT_EQ(SteppedTimeField("23:59", TimePart::Minutes, +1), "23:59");
    EXPECT_EQ(SteppedTimeField("00:00", TimePart::Hours, -1), "00:00");
    EXPECT_EQ(SteppedTimeField("00:00", TimePart::Minutes, -1), "00:00");
    EXPECT_EQ(SteppedTimeField("09:09", TimePart::Hours, +1), "10:09");
    EXPECT_EQ(SteppedTimeField("09:10", TimePart::Minutes, -1), "09:09");
}

TEST(CorrectionReport, FieldByFieldDifferences) {
    const auto at = [](int h, int m, int s) {
        return QDateTime(QDate(2026, 12, 8), QTime(h, m, s), Qt::UTC);
    };
    EXPECT_EQ(MakeCorrectionReport(at(14, 5, 40), at(14, 3, 10)).text,
              "Votre PC avançait de 2 minutes 30 secondes.\rLa correction a été faite.");
    EXPECT_EQ(MakeCorrectionReport(at(10, 59, 30), at(11, 0, 45)).text,
              "Votre PC retardait de 1 minute 15 secondes.\rLa correction a été faite.");
    EXPECT_TRUE(MakeCorrectionReport(at(10, 59, 59), at(11, 0, 1)).onTime); // 2 s, not 1 h 59
    EXPECT_TRUE(MakeCorrectionReport(at(9, 0, 0), at(9, 0, 10)).onTime);
    EXPECT_FALSE(MakeCorrectionReport(at(9, 0, 0), at(9, 0, 11)).onTime);
    EXPECT_EQ(MakeCorrectionReport(at(9, 0, 0), at(9, 0, 8)).text,
              "Votre PC était parfaitement à l'heure !");
    EXPECT_EQ(MakeCorrectionReport(at(12, 0, 0), at(10, 0, 0), Result::Failure("refus.")).text,
              "Votre PC avançait de 2 heures.\rL'heure du PC n'a pas pu être corrigée : refus.");

    // A clock a little off across midnight is set on the nearest day, not a day wrong.
    EXPECT_EQ(ServerTimeOnMachineDate(at(23, 59, 31), "00:00:32"),
              QDateTime(QDate(2026, 12, 9), QTime(0, 0, 32), Qt::UTC));
    EXPECT_EQ(ServerTimeOnMachineDate(at(0, 0, 5), "23:59:09"),
              QDateTime(QDate(2026, 12, 7), QTime(23, 59, 9), Qt::UTC));
    EXPECT_EQ(ServerTimeOnMachineDate(at(14, 5, 40), "14:03:10"), at(14, 3, 10));
    // An answer held 31,4 s by a window opened meanwhile: 31 s older than the machine's now.
    EXPECT_EQ(ServerTimeOnMachineDate(at(14, 4, 11), "14:03:10", 31400), at(14, 3, 41));
    const QDateTime nextDay = ServerTimeOnMachineDate(at(23, 59, 31), "00:00:32");
    EXPECT_EQ(MakeCorrectionReport(at(23, 59, 31), nextDay).text,
              "Votre PC retardait de 1 minute 1 seconde.\rLa correction a été faite.");
    EXPECT_FALSE(ServerTimeOnMachineDate(at(1, 0, 0), "").isValid());
}

TEST(InternetState, DefaultRouteFromTheRoutingTables) {
    ScopedProgramFolder folder;
    const QString v4 = folder.file("route"), v6 = folder.file("ipv6_route");
    const QByteArray header = "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\n";
    WriteWholeFile(v4, header + "eth0\t000200C0\t00000000\t0001\t0\t0\t0\t00FFFFFF\n");
    WriteWholeFile(v6, "00000000000000000000000000000000 00 00000000000000000000000000000000 00 "
                       "00000000000000000000000000000000 ffffffff 00000001 00000000 00200200 lo\n");
    SetRouteTableFiles(v4, v6);
    EXPECT_FALSE(HasDefaultRoute());
    WriteWholeFile(v4, header + "ppp0\t00000000\t00000000\t0001\t0\t0\t0\t00000000\n");
    EXPECT_TRUE(HasDefaultRoute());
    SetRouteTableFiles({}, {});
}
