#include "base/regular_file.h"

#include <QFile>
#include <QFileInfo>

bool OpenRegularFile(QFile& file) {
    return QFileInfo(file.fileName()).isFile() && file.open(QIODevice::ReadOnly);
}
