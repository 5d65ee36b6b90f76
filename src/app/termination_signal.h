#pragma once

#include <functional>

// Turns SIGTERM, SIGINT and SIGHUP (log-off, shutdown, kill) into a call on the event loop,
// so that the program ends the way "Quitter" ends it: settings saved, session journalled.
// Also ignores SIGXFSZ (see below).
void WatchTerminationSignals(std::function<void()> onSignal);

// A write beyond the file-size limit (ulimit -f) then fails like a write on a full disk,
// and is reported as such, instead of killing the program in the middle of a save.
void IgnoreFileSizeLimitSignal();
