#pragma once

// Sleeps in the event loop until something happens or a short while (50 ms) has passed:
// the step of every wait that keeps the windows and timers live.
void WaitForEvents();
