#include "journal/month_chart_series.h"
#include "journal/month_estimate.h"

#include <gtest/gtest.h>

namespace {
QDateTime At(int year, int month, int day, int hour = 0, int minute = 0) {
    return QDateTime(QDate(year, month, day), QTime(hour, minute));
}
MonthEstimate Estimate(const QDateTime& now, qint64 seconds, double cost, int firstDay = 1,
                       qint64 sessionSeconds = 0, double sessionCost = 0) {
    return EstimateMonthEnd({now, firstDay, seconds, cost, sessionSeconds, sessionCost});
}
} // namespace

TEST(MonthEstimateTest, ScalesByTheMonthsLengthOverTheTimeElapsed) {
    // 10 days of a 30-day month: three times as much.
    const MonthEstimate april = Estimate(At(2026, 4, 11), 3600, 10.0);
    ASSERT_TRUE(april.available);
    EXPECT_DOUBLE_EQ(april.cost, 30.0);
    EXPECT_EQ(april.seconds, 3 * 3600);
    // Leap and common Februaries: 29 and 28 days over 14 elapsed.
    EXPECT_DOUBLE_EQ(Estimate(At(2028, 2, 15), 0, 14.0).cost, 29.0);
    EXPECT_DOUBLE_EQ(Estimate(At(2027, 2, 15), 0, 14.0).cost, 28.0);
    EXPECT_DOUBLE_EQ(Estimate(At(2100, 2, 15), 0, 14.0).cost, 28.0); // not a leap year
    // The last second of the month: about what is recorded.
    EXPECT_NEAR(Estimate(QDateTime(QDate(2026, 12, 31), QTime(23, 59, 59)), 0, 31.0).cost, 31.0,
                0.001);
    // The session being counted adds to the rows.
    EXPECT_DOUBLE_EQ(Estimate(At(2026, 4, 11), 1800, 4.0, 1, 1800, 6.0).cost, 30.0);
}

TEST(MonthEstimateTest, NoneOnThePeriodsFirstDay) {
    EXPECT_FALSE(Estimate(At(2026, 3, 1, 23, 59), 3600, 5.0).available);
    EXPECT_TRUE(Estimate(At(2026, 3, 2), 3600, 5.0).available);
    // An allowance period starting on the 15th: the 15th is its first day, the 14th its last.
    EXPECT_FALSE(Estimate(At(2026, 3, 15, 12), 3600, 5.0, 15).available);
    const MonthEstimate last = Estimate(At(2026, 3, 14, 12), 0, 27.5, 15); // 27.5 of 28 days
    ASSERT_TRUE(last.available);
    EXPECT_DOUBLE_EQ(last.cost, 28.0);
    EXPECT_EQ(MonthEstimateText(Estimate(At(2026, 3, 1, 8), 0, 1.0), "F"),
              "Estimation fin de mois : pas avant le 2e jour");
    EXPECT_EQ(MonthEstimateText({true, 12 * 3600 + 30 * 60 + 59, 48.2}, "F"),
              "Estimation fin de mois : 48,20 F (12 h 30 mn)");
    EXPECT_EQ(AllowanceOutlookText({true, 12 * 3600, 0}, 12), "");
    EXPECT_EQ(
        AllowanceOutlookText({true, 12 * 3600 + 1, 0}, 12),
        "À ce rythme, le forfait de 12 h sera dépassé : le temps au-delà sera facturé en plus.");
    EXPECT_EQ(AllowanceOutlookText({true, 99 * 3600, 0}, 0), ""); // no allowance
}

TEST(MonthEstimateTest, SessionAcrossTheMonthsEndCountsOnlyItsShareInTheMonth) {
    // Started on 31 January at 22:00, still running on 2 February at 02:00 (28 hours): 26 of
    // them fall in February, and 26 of February's 28 x 24 hours have passed.
    const MonthEstimate february = Estimate(At(2026, 2, 2, 2), 0, 0, 1, 28 * 3600, 28.0);
    ASSERT_TRUE(february.available);
    EXPECT_DOUBLE_EQ(february.cost, 26.0 * 28 * 24 / 26);
    EXPECT_EQ(february.seconds, 28 * 24 * 3600);
    // Just after midnight on the 1st: nothing to extrapolate yet.
    EXPECT_FALSE(Estimate(At(2026, 3, 1, 0, 30), 0, 0, 1, 7200, 2.0).available);
}

TEST(MonthChartSeriesTest, LastMonthsWithLabelsSumsAndTheEstimateBar) {
    std::vector<MonthGroup> groups;
    groups.push_back({12, 2023, {3600, 0, 0, 99.0}}); // older than 24 months: left out
    groups.push_back({1, 2024, {7200, 0, 0, 5.0}});
    groups.push_back({3, 2025, {1800, 0, 0, 2.0}});
    groups.push_back({12, 2025, {3600, 0, 0, 4.0}});
    groups.push_back({3, 2025, {1800, 0, 0, 1.0}}); // March again, after a later month
    const MonthChartSeries series =
        BuildMonthChartSeries(groups, QDate(2025, 12, 11), {true, 7200, 12.0});

    ASSERT_EQ(series.labels.size(), 24);
    EXPECT_EQ(series.labels.first(), "janv. 24");
    EXPECT_EQ(series.labels[1], "févr. 24");
    EXPECT_EQ(series.labels[14], "mars 25");
    EXPECT_EQ(series.labels.last(), "déc. 25");
    EXPECT_DOUBLE_EQ(series.cost.first(), 5.0);
    EXPECT_DOUBLE_EQ(series.hours.first(), 2.0);
    EXPECT_DOUBLE_EQ(series.cost[14], 3.0);
    EXPECT_DOUBLE_EQ(series.hours[14], 1.0);
    EXPECT_DOUBLE_EQ(series.cost.last(), 4.0);
    EXPECT_DOUBLE_EQ(series.extra.last(), 8.0); // estimate 12 over 4 recorded
    EXPECT_DOUBLE_EQ(series.extra[14], 0.0);
    EXPECT_DOUBLE_EQ(series.largestCost, 12.0);

    // No estimate on the first day: no extra bar.
    EXPECT_DOUBLE_EQ(BuildMonthChartSeries(groups, QDate(2025, 12, 1), {}).extra.last(), 0.0);
}

TEST(MonthChartAxis, LabelsHaveTheDecimalsOfTheirStep) {
    EXPECT_EQ(AxisLabelDecimals(10), 0);
    EXPECT_EQ(AxisLabelDecimals(0.5), 1);
    EXPECT_EQ(AxisLabelDecimals(0.02), 2); // 0,02 0,04... not 0,0 0,0 0,1
    EXPECT_EQ(AxisLabelDecimals(0.025), 3);
}
