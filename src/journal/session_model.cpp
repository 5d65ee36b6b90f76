#include "journal/session_model.h"

#include "base/clock.h"

#include <algorithm>

LinkSpeeds ComputeLinkSpeeds(qint64 sent, qint64 received, qint64 previousSent,
                             qint64 previousReceived, qint32 elapsed) {
    LinkSpeeds speeds;
    speeds.instant =
        ((double(sent) + received) - (double(previousSent) + previousReceived)) / 1024.0;
    if (elapsed > 0)
        speeds.average = (double(sent) + received) / elapsed / 1024.0;
    return speeds;
}

void SessionModel::Start(const QDateTime& now, const QString& entry) {
    start = DateTimeToDays(now);
    startInstant = now.toMSecsSinceEpoch();
    connection = entry;
    elapsed = 0;
    cost = 0;
    allowanceAlarmArmed = true;
    allowanceExceededAt = allowancePeriodStartedAt = 0;
    costBeforeAllowancePeriod = 0;
    lastCostDay = {};
    previousSent = previousReceived = 0;
    speeds = {};
    emit Started();
}

qint32 SessionModel::Tick(const QDateTime& now) {
    qint32 counted = ElapsedSeconds(startInstant, now.toMSecsSinceEpoch());
    if (counted < elapsed && !clockBeingSet) {
        MoveStart(qint64(counted - elapsed) * 1000); // the start read on the clock put back
        counted = elapsed;
    }
    elapsed = std::max(counted, 0);
    emit Ticked(elapsed);
    return elapsed;
}

void SessionModel::MoveStart(qint64 msecs) {
    startInstant += msecs;
    start += msecs / 86400000.0;
}

const LinkSpeeds& SessionModel::TakeCounters(qint64 sent, qint64 received) {
    speeds = ComputeLinkSpeeds(sent, received, previousSent, previousReceived, elapsed);
    previousSent = sent;
    previousReceived = received;
    emit CountersTaken();
    return speeds;
}

void SessionModel::SetTariff(const QString& designation) {
    tariff = designation;
}

SessionRecord SessionModel::Record(const QString& currentConnection, const QDate& day,
                                   bool statsAvailable, qint64 sent, qint64 received) const {
    SessionRecord record;
    record.connection = active && !connection.isEmpty() ? connection : currentConnection;
    record.tariff = tariff;
    record.date = day;
    record.startTime = DaysToTime(start);
    record.durationSeconds = elapsed;
    record.statsAvailable = statsAvailable;
    if (statsAvailable) {
        record.sent = sent;
        record.received = received;
    }
    record.cost = cost;
    return record;
}
