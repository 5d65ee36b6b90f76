#include "base/clock.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <limits>
#include <utility>

namespace {
const SystemClock systemClock;

// The system's local time with its offset from UTC read again only when the minute changes
// (daylight saving and zone changes fall on whole minutes, and a zone the user picks shows
// within a minute): reading the local time otherwise makes the C library look at
// /etc/localtime on every call, every second of a session. The minute and the offset are
// packed in one atomic so that threads share them.
QDateTime SystemNow() {
    static std::atomic<qint64> minuteAndOffset{std::numeric_limits<qint64>::min()};
    constexpr qint64 offsetBits = 20, offsetBias = 1 << 19; // offsets stay within +-18 hours
    const qint64 msecs = QDateTime::currentMSecsSinceEpoch();
    const qint64 minute = msecs >= 0 ? msecs / 60000 : (msecs - 59999) / 60000;
    qint64 packed = minuteAndOffset.load(std::memory_order_relaxed);
    if (packed == std::numeric_limits<qint64>::min() || (packed >> offsetBits) != minute) {
        const int offset = QDateTime::fromMSecsSinceEpoch(msecs, Qt::LocalTime).offsetFromUtc();
        packed = (minute << offsetBits) | (offset + offsetBias);
        minuteAndOffset.store(packed, std::memory_order_relaxed);
    }
    const int offset = int((packed & ((qint64(1) << offsetBits) - 1)) - offsetBias);
    return QDateTime::fromMSecsSinceEpoch(msecs, Qt::OffsetFromUTC, offset);
}
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
    return installedClock ? installedClock->now() : SystemNow();
}

double DateTimeToDays(const QDateTime& moment) {
    const double wholeDays = static_cast<double>(dayZero.daysTo(moment.date()));
    return wholeDays + moment.time().msecsSinceStartOfDay() / millisecondsPerDay;
}

namespace {
// Whole days and the milliseconds into the last one. Values hold the wall clock's date and
// time, so they are taken apart by arithmetic alone: no time zone is consulted (which reads
// /etc/localtime), and a moment of a day that changes to or from daylight saving keeps its
// time of day.
std::pair<qint64, int> DaysAndMilliseconds(double days) {
    double wholeDays = std::floor(days);
    qint64 milliseconds = std::llround((days - wholeDays) * millisecondsPerDay);
    if (milliseconds >= qint64(millisecondsPerDay)) {
        wholeDays += 1;
        milliseconds -= qint64(millisecondsPerDay);
    }
    return {static_cast<qint64>(wholeDays), int(milliseconds)};
}
} // namespace

QDateTime DaysToDateTime(double days) {
    const auto [wholeDays, milliseconds] = DaysAndMilliseconds(days);
    return QDateTime(dayZero.addDays(wholeDays), QTime::fromMSecsSinceStartOfDay(milliseconds));
}

QTime DaysToTime(double days) {
    return QTime::fromMSecsSinceStartOfDay(DaysAndMilliseconds(days).second);
}

qint32 ElapsedSeconds(qint64 startMsecs, qint64 nowMsecs) {
    // std::nearbyint follows the default rounding mode, round-half-to-even.
    const double seconds = std::nearbyint(double(nowMsecs - startMsecs) / 1000.0);
    return static_cast<qint32>(std::clamp<double>(seconds, std::numeric_limits<qint32>::min(),
                                                  std::numeric_limits<qint32>::max()));
}
