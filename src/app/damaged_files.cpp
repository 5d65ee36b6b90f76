#include "app/damaged_files.h"

#include "app/clock.h"

#include <QFile>
#include <QFileInfo>

QString PutDamagedFileAside(const QString& fileName, bool move) {
    if (!QFileInfo::exists(fileName))
        return {};
    const QString base = fileName + QStringLiteral(".endommage-") +
                         Now().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString target = base;
    for (int n = 2; QFileInfo::exists(target); ++n)
        target = base + QLatin1Char('-') + QString::number(n);
    const bool done = move ? QFile::rename(fileName, target) : QFile::copy(fileName, target);
    return done ? target : QString();
}
