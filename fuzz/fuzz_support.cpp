#include "fuzz_support.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

QByteArray InputBytes(const uint8_t* data, size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

QList<QByteArray> InputParts(const uint8_t* data, size_t size, int count) {
    QList<QByteArray> parts = InputBytes(data, size).split('\0');
    while (parts.size() > count)
        parts[count - 1] += '\0' + parts.takeAt(count);
    while (parts.size() < count)
        parts.append(QByteArray());
    return parts;
}

QString FreshFolder() {
    static QTemporaryDir root;
    QDir folder(root.filePath(QStringLiteral("work")));
    folder.removeRecursively();
    QDir(root.path()).mkdir(QStringLiteral("work"));
    return folder.path();
}

void WriteInputFile(const QString& fileName, const QByteArray& bytes) {
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        std::abort(); // the fuzzer's own folder must be writable
}

void RoundTripFailure(const char* what, const QString& written, const QString& readBack) {
    std::fprintf(stderr, "Round trip failed (%s)\n  written:   %s\n  read back: %s\n", what,
                 written.toUtf8().toPercentEncoding(" =;,[]\"").constData(),
                 readBack.toUtf8().toPercentEncoding(" =;,[]\"").constData());
    std::abort();
}
