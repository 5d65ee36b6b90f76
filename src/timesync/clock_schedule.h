#pragma once

#include <QDateTime>
#include <QString>

// The clock-setting schedule: when the next setting is due and how the page says it.
enum class ClockSetMode { EveryMinutes = 1, Daily = 2, Weekly = 3, AtConnection = 4 };

// "Prochaine mise à l'heure dans 1 jour, 1 heure et 1 minute"; -1 means at the next connection.
QString NextSetText(int minutes);

// Day list index (0 = "Lundi" .. 6 = "Dimanche") and weekday number (1 = Sunday .. 7 = Saturday).
int ComboIndexToWeekday(int index);
int WeekdayToComboIndex(int weekday);
// The weekday number of a date in the numbering above.
int WeekdayNumber(const QDate& date);

struct ClockSchedule {
    ClockSetMode mode = ClockSetMode::AtConnection;
    int minutesLeft = 0;    // countdown of EveryMinutes
    QString dailyTime;      // "hh:nn" of Daily
    QString weeklyTime;     // "hh:nn" of Weekly
    int weeklyDayIndex = 0; // day list index of Weekly
};

// Minutes from the local moment `now` to the next setting (-1 for AtConnection), rounded to
// the nearest whole minute, halves to the even one.
int MinutesToNextSet(const ClockSchedule& schedule, const QDateTime& now);

// Whether the once-a-minute tick at `now` is the moment of a Daily or Weekly setting.
bool ClockSetDueAt(const ClockSchedule& schedule, const QDateTime& now);

// A masked time field typed by the user, made good: blanks become "0", hours above 23 and
// minutes above 59 fall back to those of the last accepted time. Returns the 5 characters.
QString ValidatedTimeField(const QString& typed, const QString& lastAccepted);

enum class TimePart { Hours, Minutes };
// One step of a spin button: up (+1) or down (-1), stopping at 0 and at 23 or 59.
QString SteppedTimeField(const QString& field, TimePart part, int step);
