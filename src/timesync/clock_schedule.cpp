#include "timesync/clock_schedule.h"

#include "base/ascii_digits.h"

#include <QStringList>

namespace {
constexpr int minutesPerDay = 1440;

QString Counted(int value, const char* one, const char* many) {
    return QString::number(value) + QString::fromUtf8(value > 1 ? many : one);
}

constexpr qint64 msPerMinute = 60000;
constexpr qint64 msPerDay = msPerMinute * minutesPerDay;

// Milliseconds as whole minutes, to the nearest, halves to the even one. Counted in whole
// milliseconds so that 1.5 minutes is an exact half, not 1.4999 of a day fraction.
int RoundedMinutes(qint64 ms) {
    qint64 minutes = ms / msPerMinute;
    qint64 rest = ms % msPerMinute;
    if (rest < 0) {
        rest += msPerMinute;
        --minutes;
    }
    if (rest * 2 > msPerMinute || (rest * 2 == msPerMinute && minutes % 2 != 0))
        ++minutes;
    return static_cast<int>(minutes);
}

int Hours(const QString& hhnn) {
    return hhnn.mid(0, 2).toInt();
}

int Minutes(const QString& hhnn) {
    return hhnn.mid(3, 2).toInt();
}

qint64 MsOfDay(const QString& hhnn) {
    return (Hours(hhnn) * 60 + Minutes(hhnn)) * msPerMinute;
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
    const qint64 t = now.time().msecsSinceStartOfDay();
    switch (schedule.mode) {
    case ClockSetMode::EveryMinutes:
        return schedule.minutesLeft;
    case ClockSetMode::Daily: {
        const qint64 d = MsOfDay(schedule.dailyTime) - t;
        return RoundedMinutes(d >= 0 ? d : d + msPerDay);
    }
    case ClockSetMode::Weekly: {
        const qint64 target = MsOfDay(schedule.weeklyTime);
        int index = WeekdayToComboIndex(WeekdayNumber(now.date()));
        if (index == schedule.weeklyDayIndex) {
            const qint64 d = target - t;
            return RoundedMinutes(d >= 0 ? d : d + 7 * msPerDay);
        }
        int days = 0;
        while (index != schedule.weeklyDayIndex && days < 7) {
            index = (index + 1) % 7;
            ++days;
        }
        return RoundedMinutes(target) - RoundedMinutes(t) + days * minutesPerDay;
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
    // The mask's blanks, a space or "_" as the field shows them, are zeros.
    field.replace(QLatin1Char(' '), QLatin1Char('0')).replace(QLatin1Char('_'), QLatin1Char('0'));
    // A field cut short (a mask not applied) is completed from the last accepted time.
    if (field.size() < 5)
        field += lastAccepted.mid(field.size(), 5 - field.size());
    // Hours or minutes that are not two figures in range keep the last accepted ones.
    const auto keepValid = [&field, &lastAccepted](int at, int highest) {
        const QString part = field.mid(at, 2);
        if (!AllAsciiDigits(part.toStdString()) || part.toInt() > highest)
            field.replace(at, 2, lastAccepted.mid(at, 2));
    };
    keepValid(0, 23);
    keepValid(3, 59);
    field[2] = QLatin1Char(':');
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
