#pragma once

#include <QDate>

// The allowance period: the month-long span that starts on day `firstDay` (1 to 28) of a
// month. With firstDay = 1 it is the calendar month.

struct CalendarDay {
    int year = 0;
    int month = 0;
    int day = 0;
    bool valid = false;
};

CalendarDay ToCalendarDay(const QDate& date);

// Whether a journal row dated `rowDate` lies in the period that contains `today`.
// An invalid row date lies outside.
bool InAllowancePeriod(const CalendarDay& rowDate, const CalendarDay& today, int firstDay);
bool InAllowancePeriod(const QDate& rowDate, const QDate& today, int firstDay);

// On the period's first day the hours used before the journal are reset and locked.
bool IsFirstDayOfAllowancePeriod(const QDate& today, int firstDay);
