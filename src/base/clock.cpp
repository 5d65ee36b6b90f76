#include "base/clock.h"

#include <cmath>

namespace {
const SystemClock systemClock;
const Clock* installedClock = nullptr;
const QDate dayZero(1899, 12, 30);
constexpr double millisecondsPerDay = 86400000.0;
} // namespace

const Clock& AppClock() {
    return installedClock ? *installedClock : systemClock;
}

void SetAppClock(const Clock* clock) {
    installedClock = clock;
}

QDateTime Now() {
    return AppClock().now();
}

double NowDays() {
    return DateTimeToDays(Now());
}

double DateTimeToDays(const QDateTime& moment) {
    const double wholeDays = static_cast<double>(dayZero.daysTo(moment.date()));
    return wholeDays + moment.time().msecsSinceStartOfDay() / millisecondsPerDay;
}

QDateTime DaysToDateTime(double days) {
    const double wholeDays = std::floor(days);
    const qint64 milliseconds = std::llround((days - wholeDays) * millisecondsPerDay);
    QDateTime moment(dayZero.addDays(static_cast<qint64>(wholeDays)), QTime(0, 0));
    return moment.addMSecs(milliseconds);
}

qint32 ElapsedSeconds(double startDays, double nowDays) {
    // std::nearbyint follows the default rounding mode, round-half-to-even.
    return static_cast<qint32>(std::nearbyint((nowDays - startDays) * 86400.0));
}
