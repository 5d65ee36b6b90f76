#pragma once

#include "base/result.h"
#include <QDateTime>
#include <QString>

// Sets the machine's clock. The one place where the program changes the system time, so that
// tests can put a mock time service (or nothing) in its place.
class ClockSetter {
  public:
    virtual ~ClockSetter() = default;
    // Sets the system clock to that UTC moment; a failure says why it could not be done, in
    // French, for the user.
    virtual Result SetUtc(const QDateTime& utc) = 0;
};

// The desktop's time service (org.freedesktop.timedate1 SetTime on the system bus, asking the
// user for authorisation as the desktop does). Without that service, when the program runs as
// root and `rootFallback` allows it, clock_settime. The window stays live during the call.
class SystemClockSetter : public ClockSetter {
  public:
    explicit SystemClockSetter(bool rootFallback = true) : rootFallback(rootFallback) {}
    Result SetUtc(const QDateTime& utc) override;

  private:
    bool rootFallback;
};

// The program-wide setter: the system one unless a test installed its own (the caller keeps
// ownership and resets it with nullptr before destroying it).
ClockSetter& AppClockSetter();
void SetAppClockSetter(ClockSetter* setter);
