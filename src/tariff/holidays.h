#pragma once

#include <QDateTime>
#include <QString>

// French public holidays and the peak / off-peak hours that depend on them.

struct DayMonth {
    int day = 0;
    int month = 0;
};

// Easter Sunday of the Gregorian calendar, for any year from 1583 on.
DayMonth EasterSunday(int year);

// The name of the public holiday on that date ("Noël", "Lundi de Pâques"), or empty text.
QString HolidayName(int day, int month, int year);

struct OffPeakState {
    bool offPeak = false;
    QString holidayName; // empty on ordinary days
};

// Off-peak: public holidays, Saturdays, Sundays, and every day before 08:00 or from 19:00.
OffPeakState IsOffPeak(const QDateTime& moment);
// The same for the program's clock (Now()).
OffPeakState IsOffPeak();
