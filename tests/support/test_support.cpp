#include "support/test_support.h"

#include "base/program_files.h"

#include <QFile>
#include <ctime>

ScopedTimeZone::ScopedTimeZone(const char* zone) : previous(qgetenv("TZ")) {
    qputenv("TZ", zone);
    tzset();
}

ScopedTimeZone::~ScopedTimeZone() {
    previous.isNull() ? qunsetenv("TZ") : qputenv("TZ", previous);
    tzset();
}

ScopedProgramFolder::ScopedProgramFolder() {
    ProgramFiles::SetExecutablePathForTests(folder.filePath(QStringLiteral("tallivo")));
}

ScopedProgramFolder::~ScopedProgramFolder() {
    ProgramFiles::SetExecutablePathForTests({});
}

QByteArray ReadWholeFile(const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void WriteWholeFile(const QString& fileName, const QByteArray& contents) {
    QFile file(fileName);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(contents);
}
