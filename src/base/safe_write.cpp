#include "base/safe_write.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {
// The system's own reason is in English: the common cases are said in French.
QString WhyNotWritten(const QSaveFile& file) {
    const QFileInfo folder(QFileInfo(file.fileName()).absolutePath());
    if (!folder.isDir())
        return QStringLiteral("le dossier n'existe pas");
    if (QFileInfo(file.fileName()).isDir())
        return QStringLiteral("un dossier porte ce nom");
    // A file its owner may write is not read-only: it belongs to someone else (root).
    if (const QFileInfo existing(file.fileName()); existing.exists() && !existing.isWritable())
        return existing.permissions().testFlag(QFileDevice::WriteOwner)
                   ? QStringLiteral("accès refusé")
                   : QStringLiteral("le fichier est en lecture seule");
    switch (file.error()) {
    case QFileDevice::OpenError:
    case QFileDevice::PermissionsError:
        return folder.isWritable() ? QStringLiteral("le fichier ne peut pas être créé")
                                   : QStringLiteral("accès refusé");
    case QFileDevice::RenameError:
        return QStringLiteral("le fichier existant ne peut pas être remplacé");
    default:
        return QStringLiteral("le disque est peut-être plein");
    }
}

QString NotWrittenText(const QSaveFile& file) {
    return QStringLiteral("Impossible d'écrire dans %1 (%2)")
        .arg(file.fileName(), WhyNotWritten(file));
}

Result WriteSafely(const QString& fileName,
                   const std::function<void(const PieceWriter&)>& makeContents, bool privateFile) {
    QSaveFile file(fileName);
    bool written = file.open(QIODevice::WriteOnly);
    // The temporary file takes the old file's permissions: a private file is made private
    // before anything is written into it.
    if (written && privateFile)
        written = file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    qint64 total = 0;
    makeContents([&](const char* data, qint64 size) {
        written = written && file.write(data, size) == size;
        total += size;
        return written;
    });
    // Qt buffers the writes: the buffer is flushed and checked here, since a flush that fails
    // inside commit() (a full disk) would otherwise put a cut file in place of the old one.
    written = written && file.flush() && file.size() == total && file.commit();
    if (written)
        return Result::Success();
    const QString reason = NotWrittenText(file);
    file.cancelWriting();
    return Result::Failure(reason);
}

// A whole buffer as the one piece of a file.
std::function<void(const PieceWriter&)> Whole(const QByteArray& contents) {
    return [&contents](const PieceWriter& write) { write(contents.constData(), contents.size()); };
}
} // namespace

Result CheckFileCanBeWritten(const QString& fileName) {
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return Result::Failure(NotWrittenText(file));
    file.cancelWriting();
    return Result::Success();
}

Result WriteFileSafely(const QString& fileName, const QByteArray& contents) {
    return WriteSafely(fileName, Whole(contents), false);
}

Result WriteFileSafely(const QString& fileName,
                       const std::function<void(const PieceWriter&)>& makeContents) {
    return WriteSafely(fileName, makeContents, false);
}

Result WritePrivateFileSafely(const QString& fileName, const QByteArray& contents) {
    return WriteSafely(fileName, Whole(contents), true);
}
