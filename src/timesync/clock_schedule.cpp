#include "timesync/clock_schedule.h"

#include <QStringList>
#include <cmath>

namespace {
constexpr int minutesPerDay = 1440;

QString Counted(int value, const char* one, const char* many) {
    return QString::number(value) + QString::fromUtf8(value > 1 ? many : one);
}

// Rounds to the nearest whole number, halves to the even one.
int RoundHalfEven(double value) {
    return static_cast<int>(std::nearbyint(value));
}

int Hours(const QString& hhnn) {
    return hhnn.mid(0, 2).toInt();
}

int Minutes(const QString& hhnn) {
    return hhnn.mid(3, 2).toInt();
}

// A time "hh:nn" as a fraction of a day.
double DayFraction(const QString& hhnn) {
    return (Hours(hhnn) * 60 + Minutes(hhnn)) / double(minutesPerDay);
}

double DayFraction(const QTime& time) {
    return time.msecsSinceStartOfDay() / 86400000.0;
}

bool SameHourAndMinute(const QString& hhnn, const QTime& time) {
    return Hours(hhnn) == time.hour() && Minutes(hhnn) == time.minute();
}
} // namespace

QString NextSetText(int minutes) {
    const QString start = QStringLiteral("Prochaine mise à l'heure");
    if (minutes == -1)
        return start + QStringLiteral(" lors de la prochaine connexion");
    const int days = minutes / minutesPerDay;
    const int hours = (minutes / 60) % 24;
    const int mins = minutes % 60;
    QStringList parts;
    if (days != 0)
        parts << Counted(days, " jour", " jours");
    if (hours != 0)
        parts << Counted(hours, " heure", " heures");
    if (mins != 0)
        parts << Counted(mins, " minute", " minutes");
    if (parts.isEmpty())
        return start + QStringLiteral(" imminente");
    QString joined = parts.takeLast();
    if (!parts.isEmpty())
        joined = parts.join(QStringLiteral(", ")) + QStringLiteral(" et ") + joined;
    return start + QStringLiteral(" dans ") + joined;
}

int ComboIndexToWeekday(int index) {
    return index == 6 ? 1 : index + 2;
}

int WeekdayToComboIndex(int weekday) {
    return weekday == 1 ? 6 : weekday - 2;
}

int WeekdayNumber(const QDate& date) {
    return date.dayOfWeek() % 7 + 1; // Qt counts 1 = Monday .. 7 = Sunday
}

int MinutesToNextSet(const ClockSchedule& schedule, const QDateTime& now) {
    const double t = DayFraction(now.time());
    switch (schedule.mode) {
    case ClockSetMode::EveryMinutes:
        return schedule.minutesLeft;
    case ClockSetMode::Daily: {
        const double d = DayFraction(schedule.dailyTime) - t;
        return RoundHalfEven((d >= 0 ? d : d + 1) * minutesPerDay);
    }
    case ClockSetMode::Weekly: {
        const double target = DayFraction(schedule.weeklyTime);
        int index = WeekdayToComboIndex(WeekdayNumber(now.date()));
        if (index == schedule.weeklyDayIndex) {
            const double d = target - t;
            return RoundHalfEven((d >= 0 ? d : d + 7) * minutesPerDay);
        }
        int days = 0;
        while (index != schedule.weeklyDayIndex && days < 7) {
            index = (index + 1) % 7;
            ++days;
        }
        return RoundHalfEven(target * minutesPerDay) - RoundHalfEven(t * minutesPerDay) +
               days * minutesPerDay;
    }
    case ClockSetMode::AtConnection:
        break;
    }
    return -1;
}

bool ClockSetDueAt(const ClockSchedule& schedule, const QDateTime& now) {
    switch (schedule.mode) {
    case ClockSetMode::Daily:
        return SameHourAndMinute(schedule.dailyTime, now.time());
    case ClockSetMode::Weekly:
        return WeekdayNumber(now.date()) == ComboIndexToWeekday(schedule.weeklyDayIndex) &&
               SameHourAndMinute(schedule.weeklyTime, now.time());
    default:
        return false;
    }
}

QString ValidatedTimeField(const QString& typed, const QString& lastAccepted) {
    QString field = typed.left(5);
    field.replace(QLatin1Char(' '), QLatin1Char('0'));
    // A field cut short (a mask not applied) is completed from the last accepted time.
    if (field.size() < 5)
        field += lastAccepted.mid(field.size(), 5 - field.size());
    if (field.mid(0, 2).toInt() > 23)
        field.replace(0, 2, lastAccepted.mid(0, 2));
    if (field.mid(3, 2).toInt() > 59)
        field.replace(3, 2, lastAccepted.mid(3, 2));
    return field;
}

QString SteppedTimeField(const QString& field, TimePart part, int step) {
    const int position = part == TimePart::Hours ? 0 : 3;
    const int highest = part == TimePart::Hours ? 23 : 59;
    const int value = field.mid(position, 2).toInt();
    if ((step > 0 && value >= highest) || (step < 0 && value <= 0))
        return field.left(5);
    QString result = field.left(5);
    result.replace(position, 2, QStringLiteral("%1").arg(value + step, 2, 10, QLatin1Char('0')));
    return result;
}
