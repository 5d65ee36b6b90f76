#include "base/safe_write.h"

#include <QFile>
#include <QSaveFile>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

Result WriteFileSafely(const QString& fileName, const QByteArray& contents) {
    QSaveFile file(fileName);
    // Qt buffers the writes: the buffer is flushed and checked here, since a flush that fails
    // inside commit() (a full disk) would otherwise put a cut file in place of the old one.
    const bool written = file.open(QIODevice::WriteOnly) &&
                         file.write(contents) == contents.size() && file.flush() &&
                         file.size() == contents.size() && file.commit();
    if (written)
        return Result::Success();
    const QString reason =
        QStringLiteral("Impossible d'écrire dans %1 (%2)").arg(fileName, file.errorString());
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
