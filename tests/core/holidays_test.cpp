#include "support/test_support.h"
#include "tariff/holidays.h"

#include <QDate>
#include <gtest/gtest.h>

namespace {
// Easter from the table of Paschal full moons valid for 1900-2099: an independent
// computation to hold the general computus against.
QDate TableEaster(int year) {
    const int golden = year % 19;
    static const int table[3] = {14, 4, 24};
    int p = table[golden % 3] - golden;
    if (p == 19)
        p = 18;
    if (p == 22)
        p = 23;
    if (p == -12)
        p = 17;
    if (p < 1)
        p += 31;
    const QDate fullMoon = p > 19 ? QDate(year, 3, p) : QDate(year, 4, p);
    const int weekday = fullMoon.dayOfWeek() % 7 + 1; // 1 = Sunday ... 7 = Saturday
    return fullMoon.addDays(8 - weekday);
}

// Oudin's algorithm, a second independent computation valid for every Gregorian year.
QDate OudinEaster(int year) {
    const int g = year % 19, c = year / 100;
    const int h = (c - c / 4 - (8 * c + 13) / 25 + 19 * g + 15) % 30;
    const int i = h - (h / 28) * (1 - (h / 28) * (29 / (h + 1)) * ((21 - g) / 11));
    const int j = (year + year / 4 + i + 2 - c + c / 4) % 7;
    const int p = i - j;
    return QDate(year, 3 + (p + 26) / 30, 1 + (p + 27 + (p + 6) / 40) % 31);
}

QDateTime At(int year, int month, int day, int hour, int minute, int second) {
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second));
}
} // namespace

TEST(EasterSunday, MatchesTheFullMoonTableFrom1900To2099) {
    for (int year = 1900; year <= 2099; ++year) {
        const DayMonth easter = EasterSunday(year);
        EXPECT_EQ(QDate(year, easter.month, easter.day), TableEaster(year)) << year;
    }
}

TEST(EasterSunday, MatchesOudinsAlgorithmForEveryGregorianYear) {
    for (int year = 1583; year <= 4099; ++year) {
        const DayMonth easter = EasterSunday(year);
        EXPECT_EQ(QDate(year, easter.month, easter.day), OudinEaster(year)) << year;
    }
}

TEST(EasterSunday, KnownDatesInsideAndOutsideTheTableCentury) {
    const auto easter = [](int year) {
        const DayMonth day = EasterSunday(year);
        return QDate(year, day.month, day.day);
    };
    EXPECT_EQ(easter(2002), QDate(2002, 3, 31));
    EXPECT_EQ(easter(2008), QDate(2008, 3, 23));
    EXPECT_EQ(easter(2026), QDate(2026, 4, 5));
    // Beyond 2099 the table drifts; the computus keeps the Gregorian date.
    EXPECT_EQ(easter(2100), QDate(2100, 3, 28));
    EXPECT_EQ(easter(2106), QDate(2106, 4, 18));
    EXPECT_EQ(easter(1818), QDate(1818, 3, 22));
    EXPECT_EQ(easter(2285), QDate(2285, 3, 22));
    EXPECT_EQ(easter(2038), QDate(2038, 4, 25));
}

TEST(HolidayName, FixedAndMovableHolidaysOf2026) {
    EXPECT_EQ(HolidayName(1, 1, 2026), "Jour de l'an");
    EXPECT_EQ(HolidayName(14, 7, 2026), "Fête nationale");
    EXPECT_EQ(HolidayName(25, 12, 2026), "Noël");
    EXPECT_EQ(HolidayName(5, 4, 2026), "Pâques");
    EXPECT_EQ(HolidayName(6, 4, 2026), "Lundi de Pâques");
    EXPECT_EQ(HolidayName(14, 5, 2026), "Ascension");
    EXPECT_EQ(HolidayName(24, 5, 2026), "Pentecôte");
    EXPECT_EQ(HolidayName(25, 5, 2026), "Lundi de Pentecôte");
    EXPECT_EQ(HolidayName(7, 4, 2026), "");
    EXPECT_EQ(HolidayName(31, 2, 2026), "");
}

TEST(HolidayName, AFixedHolidayWinsOverAMovableOneOnTheSameDay) {
    // In 2008 Ascension fell on 1 May.
    EXPECT_EQ(HolidayName(1, 5, 2008), "Fête du travail");
    // In 2038 Easter Monday was 26 April and Ascension 3 June; nothing on 8 May but Victory.
    EXPECT_EQ(HolidayName(8, 5, 2038), "Victoire 1945");
}

TEST(IsOffPeak, WeekdayBoundariesAt8And19) {
    // 7 April 2026 is a Tuesday and no holiday.
    EXPECT_FALSE(IsOffPeak(At(2026, 4, 7, 18, 59, 59)).offPeak);
    EXPECT_TRUE(IsOffPeak(At(2026, 4, 7, 19, 0, 0)).offPeak);
    EXPECT_TRUE(IsOffPeak(At(2026, 4, 7, 7, 59, 59)).offPeak);
    EXPECT_FALSE(IsOffPeak(At(2026, 4, 7, 8, 0, 0)).offPeak);
    EXPECT_EQ(IsOffPeak(At(2026, 4, 7, 12, 0, 0)).holidayName, "");
}

TEST(IsOffPeak, WeekendsAndHolidaysAllDay) {
    EXPECT_TRUE(IsOffPeak(At(2026, 4, 11, 12, 0, 0)).offPeak);             // Saturday
    EXPECT_TRUE(IsOffPeak(At(2026, 4, 12, 12, 0, 0)).offPeak);             // Sunday
    const OffPeakState nationalDay = IsOffPeak(At(2026, 7, 14, 10, 0, 0)); // a Tuesday
    EXPECT_TRUE(nationalDay.offPeak);
    EXPECT_EQ(nationalDay.holidayName, "Fête nationale");
    EXPECT_TRUE(IsOffPeak(At(2026, 4, 6, 18, 59, 59)).offPeak); // Easter Monday
}

TEST(IsOffPeak, ReadsTheProgramClock) {
    ScopedClock clock(At(2026, 4, 7, 18, 59, 59));
    EXPECT_FALSE(IsOffPeak().offPeak);
    clock.clock.advanceSeconds(1);
    EXPECT_TRUE(IsOffPeak().offPeak);
}
