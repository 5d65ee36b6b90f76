#include "app/alarm_rules.h"

#include <gtest/gtest.h>
#include <vector>

namespace {
std::vector<double> CostAlarmFirings(const std::vector<double>& costs, qint32 units) {
    CostAlarmState state;
    std::vector<double> fired;
    for (double cost : costs)
        if (CostAlarmDue(cost, units, true, state))
            fired.push_back(cost);
    return fired;
}
} // namespace

TEST(TimeAlarm, FiresOnEachMultipleOfThePeriodButNeverAtZero) {
    std::vector<qint32> fired;
    for (qint32 elapsed = 0; elapsed <= 1800; ++elapsed)
        if (TimeAlarmDue(elapsed, 10, true))
            fired.push_back(elapsed);
    EXPECT_EQ(fired, (std::vector<qint32>{600, 1200, 1800}));
}

TEST(TimeAlarm, ASkippedSecondRaisesNothingForThatStep) {
    EXPECT_FALSE(TimeAlarmDue(599, 10, true));
    EXPECT_FALSE(TimeAlarmDue(601, 10, true));
    EXPECT_TRUE(TimeAlarmDue(1200, 10, true));
}

TEST(TimeAlarm, NeedsTheSessionAndAPositivePeriod) {
    EXPECT_FALSE(TimeAlarmDue(600, 10, false));
    EXPECT_FALSE(TimeAlarmDue(600, 0, true));
    EXPECT_FALSE(TimeAlarmDue(600, -5, true));
    EXPECT_TRUE(TimeAlarmDue(599940, 9999, true));
}

TEST(CostAlarm, FiresOnceAtEachMultiple) {
    EXPECT_EQ(CostAlarmFirings({0, 1.5, 4.9, 5.0, 5.1, 5.9, 7, 9.99, 10.01, 10.5, 15}, 5),
              (std::vector<double>{5.0, 10.01, 15}));
}

TEST(CostAlarm, AJumpOverAMultipleRaisesNothingForIt) {
    EXPECT_EQ(CostAlarmFirings({3, 6, 7, 10}, 5), (std::vector<double>{10}));
}

TEST(CostAlarm, StartChargeReachingTheMultipleFiresAtTheFirstTick) {
    EXPECT_EQ(CostAlarmFirings({5.2, 5.2, 5.3}, 5), (std::vector<double>{5.2}));
}

TEST(CostAlarm, ReArmsWhenTheCostComesBackToZeroAtANewSession) {
    CostAlarmState state;
    EXPECT_TRUE(CostAlarmDue(5.2, 5, true, state));
    EXPECT_FALSE(CostAlarmDue(5.4, 5, true, state));
    // Next session: the cost starts again from 0.
    EXPECT_FALSE(CostAlarmDue(0, 5, true, state));
    EXPECT_TRUE(CostAlarmDue(5.2, 5, true, state));
}

TEST(CostAlarm, StateFollowsTheCostEvenWhenItCannotFire) {
    CostAlarmState state;
    EXPECT_FALSE(CostAlarmDue(5.2, 5, false, state)); // no session: seen, still armed
    EXPECT_EQ(state.unitsSeen, 5);
    EXPECT_TRUE(state.armed);
    EXPECT_FALSE(CostAlarmDue(5.3, 0, true, state)); // period being typed: skipped
    EXPECT_TRUE(CostAlarmDue(5.4, 5, true, state));
}

TEST(AlarmDue, NeitherRadioCheckedMeansCostMode) {
    CostAlarmState state;
    const AlarmPeriod period{false, 10, 5};
    EXPECT_FALSE(AlarmDue(period, 600, 1.0, true, state));
    EXPECT_TRUE(AlarmDue(period, 601, 5.0, true, state));
    const AlarmPeriod byTime{true, 10, 5};
    EXPECT_TRUE(AlarmDue(byTime, 600, 1.0, true, state));
}

TEST(MinuteLabel, SingularOnlyForOne) {
    EXPECT_STREQ(MinuteLabel(1), "minute");
    EXPECT_STREQ(MinuteLabel(2), "minutes");
    EXPECT_STREQ(MinuteLabel(9999), "minutes");
}
