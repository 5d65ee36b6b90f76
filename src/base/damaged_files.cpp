#include "base/damaged_files.h"
#include "base/log.h"

#include "base/clock.h"

#include <QFile>
#include <QFileInfo>

QString PutDamagedFileAside(const QString& fileName, bool move) {
    // Only a file is copied (opening a pipe would wait for a writer for ever); anything
    // can be moved.
    const QFileInfo info(fileName);
    if (!info.exists() || (!move && !info.isFile()))
        return {};
    const QString base = fileName + QStringLiteral(".endommage-") +
                         Now().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString target = base;
    for (int n = 2; QFileInfo::exists(target); ++n)
        target = base + QLatin1Char('-') + QString::number(n);
    const bool done = move ? QFile::rename(fileName, target) : QFile::copy(fileName, target);
    if (done)
        qCWarning(logFiles).noquote() << "damaged file kept as" << target;
    else
        qCWarning(logFiles).noquote() << "damaged file could not be kept aside:" << fileName;
    return done ? target : QString();
}
