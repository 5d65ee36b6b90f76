#pragma once

#include "journal/session_record.h"

#include <QDateTime>
#include <QObject>
#include <QString>

// Speeds of the link at one statistics reading, in kilobytes per second.
struct LinkSpeeds {
    double instant = 0; // bytes moved since the previous reading / 1024
    double average = 0; // bytes moved since the session start / elapsed seconds / 1024
};
// The counters are the link statistics' 64-bit byte counts.
LinkSpeeds ComputeLinkSpeeds(qint64 sent, qint64 received, qint64 previousSent,
                             qint64 previousReceived, qint32 elapsed);

// The session being counted (by the poll or by the manual chronometer): the one place its
// numbers live. The monitor and the chronometer drive it; the windows observe it and make
// its texts.
class SessionModel : public QObject {
    Q_OBJECT
  public:
    bool active = false;     // a session found by the poll is being counted
    double start = 0;        // days since 30 December 1899, as the wall clock read them
    qint64 startInstant = 0; // milliseconds since the epoch
    qint32 elapsed = 0;      // seconds, at the last tick
    double cost = 0;
    bool allowanceAlarmArmed = true;
    qint32 allowanceExceededAt = 0;
    qint32 allowancePeriodStartedAt = 0; // see AllowanceState
    double costBeforeAllowancePeriod = 0;
    QDate lastCostDay;       // of the last tick that computed the cost
    qint64 previousSent = 0; // counters at the previous statistics reading
    qint64 previousReceived = 0;
    LinkSpeeds speeds;
    QString tariff; // designation of the selected tariff
    // Entry of the dial-up session being counted, taken at its start: the connection may
    // have vanished (and the followed name been emptied) before the session's end.
    QString connection;
    // The program is setting the clock: its own correction is taken by MoveStart, not by Tick.
    bool clockBeingSet = false;

    // A session or chronometer run starts now: nothing counted yet. `entry`: the dial-up
    // entry followed, empty for a chronometer run.
    void Start(const QDateTime& now, const QString& entry = {});
    // Elapsed seconds afresh from the start; never accumulated. A clock put back (by hand,
    // by another program) keeps the time counted so far: it is never taken off, and never
    // below zero.
    qint32 Tick(const QDateTime& now);
    // The clock was set forward (or back) by `msecs` while counting: the same start read on
    // the corrected clock, so that the correction is not counted as time connected.
    void MoveStart(qint64 msecs);
    // A statistics reading: the speeds, then the reading becomes the base of the next one.
    const LinkSpeeds& TakeCounters(qint64 sent, qint64 received);
    void SetTariff(const QString& designation);
    // The session as a journal row; the bytes only when the statistics could be read. A
    // dial-up session carries its entry's name; otherwise the row takes `currentConnection`.
    SessionRecord Record(const QString& currentConnection, const QDate& day, bool statsAvailable,
                         qint64 sent, qint64 received) const;

  signals:
    void Started();
    void Ticked(qint32 elapsed);
    void CountersTaken();
};
