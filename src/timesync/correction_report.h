#pragma once

#include "base/result.h"
#include <QDateTime>
#include <QString>

// What the clock setting tells the user once the server's time is known.
struct CorrectionReport {
    bool onTime = false; // hours and minutes equal, seconds at most 10 apart
    QString text;
};

// The old time-of-day against the new one, field by field (10:59:59 against 11:00:01 gives
// 1 heure 59 minutes 58 secondes). When the clock could not be set, the report says why
// instead of claiming the correction was made.
CorrectionReport MakeCorrectionReport(const QDateTime& oldTime, const QDateTime& newTime,
                                      const Result& clockSet = Result::Success());

// The UTC moment to set: the machine's UTC date with the server's time of day ("hh:nn:ss"),
// milliseconds at 0. Invalid when the text is not a time.
QDateTime ServerTimeOnMachineDate(const QDateTime& machineUtc, const QString& serverTimeOfDay);
