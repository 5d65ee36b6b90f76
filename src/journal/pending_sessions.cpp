#include "journal/pending_sessions.h"

#include "base/clock.h"
#include "base/damaged_files.h"
#include "base/log.h"
#include "journal/session_checkpoint.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
const QString suffix = QStringLiteral(".session");
}

PendingSessions::PendingSessions(QString checkpointFileName)
    : checkpoint(std::move(checkpointFileName)) {
    const QFileInfo info(checkpoint);
    folder = info.absolutePath();
    prefix = info.completeBaseName() + QStringLiteral(".pending-");
}

QString PendingSessions::NewPendingName() const {
    // The moment orders the files as the sessions ended; a counter parts two of one moment.
    const QString moment = Now().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz"));
    QString name;
    int count = 0;
    do {
        name = QDir(folder).filePath(prefix + moment + QStringLiteral("-%1").arg(count++) + suffix);
    } while (QFileInfo::exists(name) || held.contains(name));
    return name;
}

QStringList PendingSessions::PendingFiles() const {
    QStringList names = QDir(folder).entryList({prefix + QLatin1Char('*') + suffix},
                                               QDir::Files | QDir::Hidden, QDir::Name);
    for (QString& name : names)
        name = QDir(folder).filePath(name);
    return names;
}

bool PendingSessions::KeepCheckpoint() {
    if (!QFileInfo::exists(checkpoint))
        return false;
    const QString name = NewPendingName();
    if (!QFile::rename(checkpoint, name)) {
        qCWarning(logFiles).noquote() << "finished session not kept apart:" << checkpoint;
        return false;
    }
    held.append(name);
    return true;
}

QList<PendingSessions::LeftOver> PendingSessions::TakeLeftOvers(QStringList* setAside) {
    QStringList names = PendingFiles();
    // A checkpoint left behind by a crash is a session like the others (the last one); it
    // stays where it is unless the journal cannot take it (see JournalNotSaved).
    if (QFileInfo::exists(checkpoint))
        names.append(checkpoint);
    QList<LeftOver> found;
    for (const QString& name : std::as_const(names)) {
        const std::optional<SessionRecord> record = ReadSessionCheckpoint(name);
        if (record)
            found.append({name, *record});
        else if (const QString aside = PutDamagedFileAside(name, true); setAside)
            setAside->append(aside.isEmpty() ? name : aside); // kept, not read at every start
    }
    held.clear(); // each one is held again once its row is in the table
    return found;
}

void PendingSessions::Held(const QString& fileName) {
    if (!held.contains(fileName))
        held.append(fileName);
}

void PendingSessions::JournalNotSaved() {
    if (held.contains(checkpoint) && KeepCheckpoint())
        held.removeAll(checkpoint);
}

void PendingSessions::JournalSaved() {
    QStringList left;
    for (const QString& name : std::as_const(held))
        if (QFileInfo::exists(name) && !QFile::remove(name))
            left.append(name);
    held = left;
}
