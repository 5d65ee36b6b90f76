#include "app/safe_write.h"

#include <QSaveFile>

bool WriteFileSafely(const QString& fileName, const QByteArray& contents, QString* errorText) {
    QSaveFile file(fileName);
    const bool written =
        file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size() && file.commit();
    if (!written) {
        if (errorText)
            *errorText = QStringLiteral("Impossible d'écrire dans %1 (%2)")
                             .arg(fileName, file.errorString());
        file.cancelWriting();
    }
    return written;
}
