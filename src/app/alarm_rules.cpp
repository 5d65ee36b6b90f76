#include "app/alarm_rules.h"

#include <cmath>
#include <limits>

namespace {
qint32 WholeUnits(double cost) {
    const double whole = std::trunc(cost);
    if (!(whole >= std::numeric_limits<qint32>::min()))
        return std::numeric_limits<qint32>::min();
    if (whole > std::numeric_limits<qint32>::max())
        return std::numeric_limits<qint32>::max();
    return static_cast<qint32>(whole);
}
} // namespace

bool TimeAlarmDue(qint32 elapsed, qint32 minutes, bool sessionCondition) {
    if (minutes <= 0)
        return false;
    const qint64 period = static_cast<qint64>(minutes) * 60;
    return sessionCondition && elapsed >= 1 && elapsed % period == 0;
}

bool CostAlarmDue(double sessionCost, qint32 units, bool sessionCondition, CostAlarmState& state) {
    const qint32 whole = WholeUnits(sessionCost);
    if (whole != state.unitsSeen) {
        state.unitsSeen = whole;
        state.armed = true;
    }
    if (units <= 0)
        return false;
    const bool due = sessionCondition && whole >= 1 && whole % units == 0 && state.armed;
    if (due)
        state.armed = false;
    return due;
}

bool AlarmDue(const AlarmPeriod& period, qint32 elapsed, double sessionCost, bool sessionCondition,
              CostAlarmState& state) {
    if (period.byTime)
        return TimeAlarmDue(elapsed, period.minutes, sessionCondition);
    return CostAlarmDue(sessionCost, period.units, sessionCondition, state);
}

const char* MinuteLabel(qint32 minutes) {
    return minutes == 1 ? "minute" : "minutes";
}
