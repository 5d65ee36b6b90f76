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

TEST(TimeAlarm, NeedsTheSessionAndAPositivePeriod) {
    EXPECT_FALSE(TimeAlarmDue(600, 10, false));
    EXPECT_FALSE(TimeAlarmDue(600, 0, true));
    EXPECT_FALSE(TimeAlarmDue(600, -5, true));
    EXPECT_TRUE(TimeAlarmDue(599940, 9999, true));
    EXPECT_FALSE(TimeAlarmDue(0, 1, true)) << "a session's first tick is at 0 s";
    EXPECT_TRUE(TimeAlarmDue(60, 1, true));
}

TEST(CostAlarm, OncePerMultipleAndNothingForAMultipleJumpedOver) {
    EXPECT_EQ(CostAlarmFirings({3, 6, 9.9, 10.2, 10.9, 15}, 5), (std::vector<double>{10.2, 15}));
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
