#pragma once

#include <QLoggingCategory>

// The program's log: failures that are dropped on purpose (a save that failed, a provider's
// error, a damaged file put aside, an error inside the poll) are written here instead of
// being lost. Filter with QT_LOGGING_RULES, e.g. "tallivo.*.debug=true".
Q_DECLARE_LOGGING_CATEGORY(logFiles)
Q_DECLARE_LOGGING_CATEGORY(logDialup)
Q_DECLARE_LOGGING_CATEGORY(logMonitor)
Q_DECLARE_LOGGING_CATEGORY(logSettings)
// Off unless asked for ("tallivo.startup.debug=true"): how long start-up took.
Q_DECLARE_LOGGING_CATEGORY(logStartup)

// Sends every message to standard error and, when the system journal is running, to it.
void InstallLog();

// One line as the system journal's native protocol takes it; exposed for its test.
QByteArray JournalEntry(QtMsgType type, const QString& category, const QString& message);
