#pragma once

#include <functional>

// Turns SIGTERM, SIGINT and SIGHUP (log-off, shutdown, kill) into a call on the event loop,
// so that the program ends the way "Quitter" ends it: settings saved, session journalled.
void WatchTerminationSignals(std::function<void()> onSignal);
