#pragma once

#include <QDateTime>

// Every reading of "now" in the program goes through this clock so that tests can put
// the program at any moment (a holiday, 18:59:59, the first day of an allowance period).
class Clock {
  public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
};

class SystemClock : public Clock {
  public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

// A clock that only moves when told to; used by tests and benchmarks.
class ManualClock : public Clock {
  public:
    explicit ManualClock(QDateTime start) : current(std::move(start)) {}
    QDateTime now() const override { return current; }
    void set(const QDateTime& moment) { current = moment; }
    void advanceSeconds(qint64 seconds) { current = current.addSecs(seconds); }

  private:
    QDateTime current;
};

// The program-wide clock. The default is the system clock; a test may install its own
// (the caller keeps ownership and must reset it with nullptr before destroying it).
const Clock& AppClock();
void SetAppClock(const Clock* clock);

QDateTime Now();
// A date-time value: days since 30 December 1899, the fraction being the time of day.
double DateTimeToDays(const QDateTime& moment);
QDateTime DaysToDateTime(double days);
// The time of day alone, without building a local date-time.
QTime DaysToTime(double days);
// Whole seconds between two instants (milliseconds since the epoch), rounded to the nearest
// second (halves to even). Instants, not wall-clock readings: the hour that daylight saving
// adds or repeats is counted as it is lived.
qint32 ElapsedSeconds(qint64 startMsecs, qint64 nowMsecs);
