#include "journal/period_sums.h"

#include <gtest/gtest.h>

namespace {
JournalRowFacts Row(const QDate& date, const QString& tariff, qint64 seconds, double cost) {
    return {ToCalendarDay(date), tariff, seconds, cost};
}
} // namespace

TEST(AllowancePeriod, StartingOnThe15th) {
    // On 10 March the period runs from 15 February to 14 March.
    const QDate march10(2026, 3, 10);
    EXPECT_FALSE(InAllowancePeriod(QDate(2026, 2, 14), march10, 15));
    EXPECT_TRUE(InAllowancePeriod(QDate(2026, 2, 15), march10, 15));
    EXPECT_TRUE(InAllowancePeriod(QDate(2026, 3, 14), march10, 15));
    EXPECT_FALSE(InAllowancePeriod(QDate(2026, 3, 15), march10, 15));
    EXPECT_FALSE(InAllowancePeriod(QDate(2025, 2, 20), march10, 15));
    // On 15 March it runs from 15 March to 14 April, and that is its first day.
    const QDate march15(2026, 3, 15);
    EXPECT_FALSE(InAllowancePeriod(QDate(2026, 3, 14), march15, 15));
    EXPECT_TRUE(InAllowancePeriod(QDate(2026, 3, 15), march15, 15));
    EXPECT_TRUE(InAllowancePeriod(QDate(2026, 4, 14), march15, 15));
    EXPECT_FALSE(InAllowancePeriod(QDate(2026, 4, 15), march15, 15));
    EXPECT_TRUE(IsFirstDayOfAllowancePeriod(march15, 15));
    EXPECT_FALSE(IsFirstDayOfAllowancePeriod(march10, 15));
}

TEST(AllowancePeriod, AcrossTheYearBoundary) {
    // On 5 January with d = 10 it runs from 10 December of the previous year to 9 January.
    const QDate january5(2027, 1, 5);
    EXPECT_FALSE(InAllowancePeriod(QDate(2026, 12, 9), january5, 10));
    EXPECT_TRUE(InAllowancePeriod(QDate(2026, 12, 10), january5, 10));
    EXPECT_TRUE(InAllowancePeriod(QDate(2027, 1, 9), january5, 10));
    EXPECT_FALSE(InAllowancePeriod(QDate(2027, 1, 10), january5, 10));
    // On 20 December it runs on into January.
    EXPECT_TRUE(InAllowancePeriod(QDate(2027, 1, 9), QDate(2026, 12, 20), 10));
    EXPECT_FALSE(InAllowancePeriod(QDate(2026, 1, 9), QDate(2026, 12, 20), 10));
}

TEST(AllowancePeriod, FirstDayOneIsTheCalendarMonthAndBadDatesAreOutside) {
    const QDate today(2026, 2, 1);
    EXPECT_TRUE(InAllowancePeriod(QDate(2026, 2, 28), today, 1));
    EXPECT_FALSE(InAllowancePeriod(QDate(2026, 1, 31), today, 1));
    EXPECT_FALSE(InAllowancePeriod(QDate(), today, 1));
}

TEST(PeriodSums, CountOnlyThisPeriodAndThisTariff) {
    PeriodSums sums;
    sums.Reset({Row({2026, 3, 1}, "A", 100, 1.0), Row({2026, 3, 2}, "B", 200, 2.0),
                Row({2026, 2, 28}, "A", 400, 4.0), Row({}, "A", 800, 8.0)});
    const PeriodTotals totals = sums.Totals({2026, 3, 10}, 1, "A");
    EXPECT_EQ(totals.seconds, 100);
    EXPECT_DOUBLE_EQ(totals.cost, 1.0);
    EXPECT_EQ(sums.Totals({2026, 3, 10}, 1, "B").seconds, 200);
    EXPECT_EQ(sums.Totals({2026, 3, 10}, 1, "C").seconds, 0);
    EXPECT_EQ(sums.Totals({2026, 3, 10}, 1, "a").seconds, 0); // exact, case-sensitive
}

TEST(PeriodSums, FollowAppendsAndChangesOfDayFirstDayAndTariff) {
    PeriodSums sums;
    sums.Reset({Row({2026, 2, 20}, "A", 100, 1.0), Row({2026, 3, 5}, "A", 200, 2.0)});
    EXPECT_EQ(sums.Totals({2026, 3, 10}, 1, "A").seconds, 200);
    sums.Append(Row({2026, 3, 10}, "A", 50, 0.5));
    sums.Append(Row({2026, 3, 10}, "B", 70, 0.7));
    EXPECT_EQ(sums.Totals({2026, 3, 10}, 1, "A").seconds, 250);
    EXPECT_DOUBLE_EQ(sums.Totals({2026, 3, 10}, 1, "A").cost, 2.5);
    EXPECT_EQ(sums.Totals({2026, 3, 10}, 15, "A").seconds, 350); // debfor changed
    EXPECT_EQ(sums.Totals({2026, 3, 10}, 1, "B").seconds, 70);   // tariff changed
    EXPECT_EQ(sums.Totals({2026, 4, 1}, 1, "A").seconds, 0);     // a new month began
    sums.Append(Row({2026, 4, 1}, "A", 30, 0.3));
    EXPECT_EQ(sums.Totals({2026, 4, 1}, 1, "A").seconds, 30);
    sums.Clear();
    EXPECT_EQ(sums.Totals({2026, 4, 1}, 1, "A").seconds, 0);
}
