#include "base/safe_write.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// The system's own reason is in English: the common cases are said in French.
QString WhyNotWritten(const QSaveFile& file) {
    const QFileInfo folder(QFileInfo(file.fileName()).absolutePath());
    if (!folder.isDir())
        return QStringLiteral("le dossier n'existe pas");
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
} // namespace

Result WriteFileSafely(const QString& fileName, const QByteArray& contents) {
    return WriteFileSafely(fileName, [&contents](const PieceWriter& write) {
        write(contents.constData(), contents.size());
    });
}

Result WriteFileSafely(const QString& fileName,
                       const std::function<void(const PieceWriter&)>& makeContents) {
    QSaveFile file(fileName);
    bool written = file.open(QIODevice::WriteOnly);
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
    const QString reason =
        QStringLiteral("Impossible d'écrire dans %1 (%2)").arg(fileName, WhyNotWritten(file));
    file.cancelWriting();
    return Result::Failure(reason);
}

Result WritePrivateFileSafely(const QString& fileName, const QByteArray& contents) {
    // The rename keeps the permissions of the file it replaces: create it private first.
    const QByteArray path = QFile::encodeName(fileName);
    const int fd = ::open(path.constData(), O_CREAT | O_WRONLY | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0)
        ::close(fd);
    Result written = WriteFileSafely(fileName, contents);
    if (!written)
        return written;
    struct stat info {};
    if (::stat(path.constData(), &info) == 0 && (info.st_mode & 077) != 0)
        ::chmod(path.constData(), 0600);
    return written;
}
