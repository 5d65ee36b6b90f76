#pragma once

#include <QDate>
#include <QString>
#include <QTime>

// A finished (or interrupted) session as it becomes a journal row.
struct SessionRecord {
    QString connection; // entry name; empty for a chronometer run ("Manuel")
    QString tariff;     // caption of the selected tariff
    QDate date;         // the day the row is written (the session's end)
    QTime startTime;    // time of day the session started
    qint32 durationSeconds = 0;
    bool statsAvailable = false;
    qint64 received = 0; // bytes, when statistics are available
    qint64 sent = 0;
    double cost = 0;
};
