// The settings file: any file content is read without harm, and keys written into it read
// back as written while the other keys of the section keep their values.
// Input: the file, then NUL-separated section, key and value triples to write.
#include "base/errors.h"
#include "base/ini_file.h"
#include "fuzz_support.h"

#include <QDir>

namespace {
// The program's sections are plain names: a "]" or a line break cannot be in them.
bool UsableSection(const QString& section) {
    for (const QChar ch : section)
        if (ch == QLatin1Char(']') || ch.unicode() < 0x20 || ch.unicode() == 0x7F)
            return false;
    return section == section.trimmed();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QList<QByteArray> parts = InputParts(data, size, 7);
    const QString fileName = FreshFolder() + QStringLiteral("/tallivo.ini");
    WriteInputFile(fileName, parts[0]);
    IniFile ini(fileName);
    for (int i = 1; i + 2 < parts.size(); i += 3) {
        const QString section = QString::fromUtf8(parts[i]);
        const QString key = QString::fromUtf8(parts[i + 1]);
        const QString value = QString::fromUtf8(parts[i + 2]);
        if (!UsableSection(section))
            continue;
        const QList<QPair<QString, QString>> before = ini.ReadSectionValues(section);
        try {
            ini.WriteString(section, key, value);
        } catch (const AppError&) {
            continue; // refused (a file too large): nothing to read back
        }
        const IniFile fresh(fileName);
        const QString readBack = fresh.ReadString(section, key, QStringLiteral("\x01missing"));
        if (readBack != value.left(IniFile::MaxValueLength))
            RoundTripFailure("settings value", value, readBack);
        for (const auto& [otherKey, otherValue] : before) {
            if (otherKey == key)
                continue;
            const QString kept = fresh.ReadString(section, otherKey, QStringLiteral("\x01gone"));
            if (kept != otherValue)
                RoundTripFailure("settings key kept", otherKey + '=' + otherValue, kept);
        }
    }
    return 0;
}
