#pragma once

#include "journal/session_record.h"

#include <QString>
#include <optional>

// The running session, written beside the journal while it is counted, so that a crash or a
// power cut loses at most the time since the last checkpoint. The next start turns a
// checkpoint left behind into a journal row.

bool WriteSessionCheckpoint(const QString& fileName, const SessionRecord& record);
// Nothing when the file is missing or does not hold a session.
std::optional<SessionRecord> ReadSessionCheckpoint(const QString& fileName);
bool RemoveSessionCheckpoint(const QString& fileName);

// When to write the next checkpoint of a run: at its first tick, then every interval.
class CheckpointSchedule {
  public:
    static constexpr qint32 IntervalSeconds = 30;
    bool Due(qint32 elapsed) const;
    void Written(qint32 elapsed);
    void Reset();

  private:
    bool written = false;
    qint32 lastElapsed = 0;
};
