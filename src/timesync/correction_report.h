#pragma once

#include "base/result.h"
#include <QDateTime>
#include <QString>

// What the clock setting tells the user once the server's time is known.
struct CorrectionReport {
    bool onTime = false; // at most 10 seconds apart
    QString text;
};

// How far the old time was from the new one, in whole seconds (10:59:59 against 11:00:01 is
// 2 seconds, not the fields' 1 hour 59 minutes 58 seconds). When the clock could not be set,
// the report says why instead of claiming the correction was made.
CorrectionReport MakeCorrectionReport(const QDateTime& oldTime, const QDateTime& newTime,
                                      const Result& clockSet = Result::Success());

// The UTC moment to set: the server's time of day ("hh:nn:ss"), milliseconds at 0, on the
// machine's UTC date or the day before or after, whichever is nearest the machine's time, so
// that a clock a little off across midnight is not set a day wrong. Invalid when the text is
// not a time. An answer that waited `answerAgeMs` (a window opened during the query held it)
// is moved on by that long, in whole seconds as it came.
QDateTime ServerTimeOnMachineDate(const QDateTime& machineUtc, const QString& serverTimeOfDay,
                                  qint64 answerAgeMs = 0);
