#include "app/safe_write.h"

#include <QSaveFile>

bool WriteFileSafely(const QString& fileName, const QByteArray& contents, QString* errorText) {
    QSaveFile file(fileName);
    // Qt buffers the writes: the buffer is flushed and checked here, since a flush that fails
    // inside commit() (a full disk) would otherwise put a cut file in place of the old one.
    const bool written = file.open(QIODevice::WriteOnly) &&
                         file.write(contents) == contents.size() && file.flush() &&
                         file.size() == contents.size() && file.commit();
    if (!written) {
        if (errorText)
            *errorText = QStringLiteral("Impossible d'écrire dans %1 (%2)")
                             .arg(fileName, file.errorString());
        file.cancelWriting();
    }
    return written;
}
