#include "base/clock.h"
#include "journal/session_model.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

TEST(LinkSpeeds, InstantIsSinceThePreviousReadingAndAverageSinceTheStart) {
    // 1536 bytes in the last second, 4096 over 4 s.
    const LinkSpeeds speeds = ComputeLinkSpeeds(1000, 3096, 1000, 1560, 4);
    EXPECT_DOUBLE_EQ(speeds.instant, 1.5);
    EXPECT_DOUBLE_EQ(speeds.average, 1.0);
    EXPECT_DOUBLE_EQ(ComputeLinkSpeeds(10, 10, 0, 0, 0).average, 0) << "no division by 0 s";
}

TEST(SessionModel, CountersAreRebasedAtEachReadingAndEveryStartBeginsAtZero) {
    SessionModel session;
    const QDateTime start(QDate(2026, 12, 7), QTime(20, 0, 0));
    session.Start(start);
    session.cost = 3;
    EXPECT_EQ(session.Tick(start.addSecs(2)), 2);
    EXPECT_DOUBLE_EQ(session.TakeCounters(1024, 1024).instant, 2.0);
    EXPECT_EQ(session.Tick(start.addSecs(4)), 4);
    const LinkSpeeds second = session.TakeCounters(2048, 2048);
    EXPECT_DOUBLE_EQ(second.instant, 2.0);
    EXPECT_DOUBLE_EQ(second.average, 1.0);

    const SessionRecord record = session.Record(QString(), QDate(2026, 12, 7), true, 7, 9);
    EXPECT_EQ(record.durationSeconds, 4);
    EXPECT_EQ(record.startTime, QTime(20, 0, 0));
    EXPECT_EQ(record.sent, 7);
    EXPECT_DOUBLE_EQ(record.cost, 3);

    session.Start(start.addSecs(10));
    EXPECT_EQ(session.cost, 0);
    EXPECT_EQ(session.elapsed, 0);
    EXPECT_TRUE(session.allowanceAlarmArmed);
    session.Tick(start.addSecs(11));
    EXPECT_DOUBLE_EQ(session.TakeCounters(512, 512).instant, 1.0) << "from zero counters";
}

TEST(SessionModel, ASessionAcrossADaylightSavingChangeCountsTheTimeLived) {
    const ScopedTimeZone french;
    SessionModel session;
    // Clocks go back at 03:00 summer time: 01:30 to 02:30 winter time is two hours.
    const QDateTime autumnStart(QDate(2026, 10, 25), QTime(1, 30));
    session.Start(autumnStart);
    const QDateTime autumnEnd = autumnStart.addSecs(7200);
    ASSERT_EQ(autumnEnd.time(), QTime(2, 30));
    EXPECT_EQ(session.Tick(autumnEnd), 7200);
    EXPECT_EQ(session.Record(QString(), autumnStart.date(), false, 0, 0).startTime, QTime(1, 30));
    // They go forward at 02:00 winter time: 01:50 to 03:10 summer time is twenty minutes.
    const QDateTime springStart(QDate(2026, 3, 29), QTime(1, 50));
    session.Start(springStart);
    EXPECT_EQ(session.Tick(QDateTime(QDate(2026, 3, 29), QTime(3, 10))), 1200);
}

TEST(SessionModel, AClockPutBackKeepsTheTimeCountedAndTheProgramsOwnCorrectionIsLeftToMoveStart) {
    SessionModel session;
    const QDateTime start(QDate(2026, 12, 8), QTime(19, 0));
    session.Start(start);
    EXPECT_EQ(session.Tick(start.addSecs(100)), 100);
    EXPECT_EQ(session.Tick(start.addSecs(-7200)), 100); // put back two hours
    EXPECT_EQ(session.Tick(start.addSecs(-7199)), 101);
    EXPECT_EQ(session.Record(QString(), start.date(), false, 0, 0).startTime, QTime(16, 58, 20));

    session.Start(start); // the program's own correction, 30 s back
    session.Tick(start.addSecs(10));
    session.clockBeingSet = true;
    EXPECT_EQ(session.Tick(start.addSecs(-19)), 0); // never below zero meanwhile
    session.clockBeingSet = false;
    session.MoveStart(-30000);
    EXPECT_EQ(session.Tick(start.addSecs(-19)), 11);
}
