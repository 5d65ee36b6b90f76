#include "base/clock.h"
#include "journal/session_model.h"

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
    const double start = DateTimeToDays(QDateTime(QDate(2026, 12, 7), QTime(20, 0, 0)));
    session.Start(start);
    session.cost = 3;
    EXPECT_EQ(session.Tick(start + 2.0 / 86400), 2);
    EXPECT_DOUBLE_EQ(session.TakeCounters(1024, 1024).instant, 2.0);
    EXPECT_EQ(session.Tick(start + 4.0 / 86400), 4);
    const LinkSpeeds second = session.TakeCounters(2048, 2048);
    EXPECT_DOUBLE_EQ(second.instant, 2.0);
    EXPECT_DOUBLE_EQ(second.average, 1.0);

    const SessionRecord record = session.Record(QString(), QDate(2026, 12, 7), true, 7, 9);
    EXPECT_EQ(record.durationSeconds, 4);
    EXPECT_EQ(record.startTime, QTime(20, 0, 0));
    EXPECT_EQ(record.sent, 7);
    EXPECT_DOUBLE_EQ(record.cost, 3);

    session.Start(start + 10.0 / 86400);
    EXPECT_EQ(session.cost, 0);
    EXPECT_EQ(session.elapsed, 0);
    EXPECT_TRUE(session.allowanceAlarmArmed);
    session.Tick(start + 11.0 / 86400);
    EXPECT_DOUBLE_EQ(session.TakeCounters(512, 512).instant, 1.0) << "from zero counters";
}
