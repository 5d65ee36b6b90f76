#pragma once

// Waits for at least Interval milliseconds while the event loop keeps running, so that the
// windows stay live and the timers keep firing.
class TSleeper {
  public:
    int Interval = 1000;
    void Sleep() const;
};
