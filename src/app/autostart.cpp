#include "app/autostart.h"

#include "base/log.h"
#include "base/safe_write.h"
#include "base/text_encoding.h"

#include <QDir>
#include <QFile>

namespace Autostart {
namespace {
// Characters that make an Exec argument need double quotes.
const QString reservedCharacters = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
// Characters that must be backslash-escaped inside the double quotes.
const QString escapedInQuotes = QStringLiteral("\"`$\\");

// The value of a string key: backslashes and control characters escaped.
QString EscapeStringValue(const QString& text) {
    QString result;
    for (const QChar ch : text) {
        switch (ch.unicode()) {
        case '\\':
            result += QLatin1String("\\\\");
            break;
        case '\n':
            result += QLatin1String("\\n");
            break;
        case '\t':
            result += QLatin1String("\\t");
            break;
        case '\r':
            result += QLatin1String("\\r");
            break;
        default:
            result += ch;
        }
    }
    return result;
}
} // namespace

QString EntryName() {
    return QStringLiteral("Tallivo");
}

QString AutostartFolder() {
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    // The variable only counts when it holds an absolute path.
    if (config.isEmpty() || !QDir::isAbsolutePath(config))
        config = QDir::homePath() + QStringLiteral("/.config");
    return QDir::cleanPath(config + QStringLiteral("/autostart"));
}

QString EntryFileName(const QString& name) {
    return AutostartFolder() + QLatin1Char('/') + name + QStringLiteral(".desktop");
}

QString ExecValue(const QString& executablePath) {
    QString argument = executablePath;
    argument.replace(QLatin1Char('%'), QLatin1String("%%"));
    bool needsQuotes = false;
    for (const QChar ch : argument)
        needsQuotes = needsQuotes || reservedCharacters.contains(ch);
    if (needsQuotes) {
        QString quoted(QLatin1Char('"'));
        for (const QChar ch : argument) {
            if (escapedInQuotes.contains(ch))
                quoted += QLatin1Char('\\');
            quoted += ch;
        }
        argument = quoted + QLatin1Char('"');
    }
    return EscapeStringValue(argument);
}

Result Install(const QString& name, const QString& executablePath) {
    const QString folder = AutostartFolder();
    if (!QDir().mkpath(folder))
        return Result::Failure(
            QStringLiteral("Erreur de création de la clé %1").arg(EntryFileName(name)));
    const QString contents = QStringLiteral("[Desktop Entry]\n"
                                            "Type=Application\n"
                                            "Name=%1\n"
                                            "Exec=%2\n"
                                            "Terminal=false\n"
                                            "X-GNOME-Autostart-enabled=true\n")
                                 .arg(EscapeStringValue(name), ExecValue(executablePath));
    if (!WriteFileSafely(EntryFileName(name), EncodeFileText(contents)))
        return Result::Failure(
            QStringLiteral("Erreur de création de la clé %1").arg(EntryFileName(name)));
    return Result::Success();
}

Result Remove(const QString& name) {
    const QString fileName = EntryFileName(name);
    if (!QFile::exists(fileName) || QFile::remove(fileName))
        return Result::Success();
    return Result::Failure(QStringLiteral("Impossible de supprimer %1").arg(fileName));
}

bool IsInstalled(const QString& name) {
    return QFile::exists(EntryFileName(name));
}

void CleanObsoleteEntries(const QString& executableBaseName) {
    for (const QString& name : {executableBaseName, QStringLiteral("destroy me")})
        if (!name.isEmpty() && name != EntryName())
            if (const Result removed = Remove(name); !removed)
                qCWarning(logSettings).noquote() << removed.Message();
}
} // namespace Autostart
