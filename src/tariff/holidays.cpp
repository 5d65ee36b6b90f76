#include "tariff/holidays.h"

#include "base/clock.h"

#include <QDate>
#include <array>

DayMonth EasterSunday(int year) {
    // Anonymous Gregorian computus (Meeus / Jones / Butcher).
    const int a = year % 19;
    const int b = year / 100;
    const int c = year % 100;
    const int d = b / 4;
    const int e = b % 4;
    const int f = (b + 8) / 25;
    const int g = (b - f + 1) / 3;
    const int h = (19 * a + b - d - g + 15) % 30;
    const int i = c / 4;
    const int k = c % 4;
    const int l = (32 + 2 * e + 2 * i - h - k) % 7;
    const int m = (a + 11 * h + 22 * l) / 451;
    const int month = (h + l - 7 * m + 114) / 31;
    const int day = (h + l - 7 * m + 114) % 31 + 1;
    return {day, month};
}

QString HolidayName(int day, int month, int year) {
    struct FixedHoliday {
        int day;
        int month;
        const char16_t* name;
    };
    static const std::array<FixedHoliday, 8> fixedHolidays{{
        {1, 1, u"Jour de l'an"},
        {1, 5, u"Fête du travail"},
        {8, 5, u"Victoire 1945"},
        {14, 7, u"Fête nationale"},
        {15, 8, u"Assomption"},
        {1, 11, u"Toussaint"},
        {11, 11, u"Armistice 1918"},
        {25, 12, u"Noël"},
    }};
    for (const FixedHoliday& holiday : fixedHolidays)
        if (holiday.day == day && holiday.month == month)
            return QString::fromUtf16(holiday.name);

    const QDate date(year, month, day);
    if (!date.isValid())
        return {};
    const DayMonth easter = EasterSunday(year);
    const QDate easterSunday(year, easter.month, easter.day);
    struct MovableHoliday {
        int offset;
        const char16_t* name;
    };
    static const std::array<MovableHoliday, 5> movableHolidays{{
        {0, u"Pâques"},
        {1, u"Lundi de Pâques"},
        {49, u"Pentecôte"},
        {50, u"Lundi de Pentecôte"},
        {39, u"Ascension"},
    }};
    const qint64 offset = easterSunday.daysTo(date);
    for (const MovableHoliday& holiday : movableHolidays)
        if (holiday.offset == offset)
            return QString::fromUtf16(holiday.name);
    return {};
}

OffPeakState IsOffPeak(const QDateTime& moment) {
    const QDate today = moment.date();
    const int hour = moment.time().hour();
    OffPeakState state;
    state.holidayName = HolidayName(today.day(), today.month(), today.year());
    const bool weekend = today.dayOfWeek() >= Qt::Saturday;
    state.offPeak = !state.holidayName.isEmpty() || weekend || hour < 8 || hour >= 19;
    return state;
}

OffPeakState IsOffPeak() {
    return IsOffPeak(Now());
}
