#pragma once

#include <QtGlobal>

// The decisions of the periodic alarms: every N minutes of a session, or every N currency
// units of its cost. The window applies them (sound, visual alert).

// Re-arming state of a cost alarm: it fires once per whole-unit value of the cost.
struct CostAlarmState {
    qint32 unitsSeen = -1; // whole part of the cost at the last evaluation
    bool armed = true;     // may still fire at that whole-unit value
};

struct AlarmPeriod {
    bool byTime = false; // "Toutes les :" checked; otherwise the alarm follows the cost
    qint32 minutes = 0;
    qint32 units = 0;
};

// Every `minutes` of elapsed time, never at 0. A period of 0 or less (the user is still
// typing) is skipped rather than used as a divisor.
bool TimeAlarmDue(qint32 elapsed, qint32 minutes, bool sessionCondition);

// Every `units` of cost, once per whole-unit value; the state follows the cost at every
// call, whether or not the alarm is switched on.
bool CostAlarmDue(double sessionCost, qint32 units, bool sessionCondition, CostAlarmState& state);

bool AlarmDue(const AlarmPeriod& period, qint32 elapsed, double sessionCost, bool sessionCondition,
              CostAlarmState& state);

// "minute" for a period of 1, "minutes" otherwise.
const char* MinuteLabel(qint32 minutes);
