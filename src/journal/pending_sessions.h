#pragma once

#include "journal/session_record.h"

#include <QList>
#include <QString>
#include <QStringList>

// Finished sessions kept on disk until a journal save that holds them has succeeded: one file
// per session beside the journal ("tallivo.pending-<moment>.session"), in the checkpoint's
// format. A full disk then costs no session: the journal is saved later, or the next start
// merges the files left behind.
class PendingSessions {
  public:
    explicit PendingSessions(QString checkpointFileName);

    // The checkpoint of the session that just ended becomes a pending file of its own (a
    // rename, which needs no room), so that the next session's checkpoint cannot replace it.
    // Its row is in the journal table from now on. False when it could not be kept.
    bool KeepCheckpoint();

    struct LeftOver {
        QString fileName;
        SessionRecord record;
    };
    // Files left by an earlier run, oldest first, then a checkpoint left behind by a crash.
    // Unreadable files are put aside under a name that says so, added to `setAside`.
    QList<LeftOver> TakeLeftOvers(QStringList* setAside = nullptr);
    // A left-over whose row is now in the journal table.
    void Held(const QString& fileName);
    // A journal save holding every row of the table has succeeded: the files go.
    void JournalSaved();
    // A save failed: a held checkpoint becomes a pending file, out of the next session's way.
    void JournalNotSaved();
    bool Waiting() const { return !held.isEmpty(); }

  private:
    QString NewPendingName() const;
    QStringList PendingFiles() const;

    QString checkpoint;
    QString folder;
    QString prefix;   // "tallivo.pending-"
    QStringList held; // pending files whose rows are in the journal table in memory
};
