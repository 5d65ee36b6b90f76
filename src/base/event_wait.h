#pragma once

// Sleeps in the event loop until something happens or a short while (50 ms) has passed:
// the step of every wait that keeps the windows and timers live. False once the program is
// ending (a termination signal, the last window closed): events are no longer handled then,
// so whatever the wait was for will not come and the wait must end.
bool WaitForEvents();
