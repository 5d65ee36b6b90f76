#include "base/program_files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <unistd.h>

namespace {
QString overriddenExecutable;

bool FolderIsWritable(const QString& folder) {
    return ::access(QFile::encodeName(folder).constData(), W_OK) == 0;
}

// An installed program has its shipped files in ../share/tallivo/: its folder is a system
// folder (even when root can write it), so the user's files never go there.
bool IsInstalled() {
    return QFileInfo(ProgramFiles::InstalledDataFolder()).isDir();
}

// The user's files left beside the program, when the program's folder can no longer take
// them (made read-only, or the program installed since), are copied once into the user's
// folder: the settings, tariffs and journal carry on there instead of starting afresh.
void AdoptFilesBesideTheProgram(const QString& programFolder, const QString& userFolder) {
    static QStringList adopted;
    if (adopted.contains(programFolder + userFolder))
        return;
    adopted.append(programFolder + userFolder);
    for (const char* extension : {".ini", ".csv", ".jnl", ".wav"}) {
        const QString name = ProgramFiles::BaseName() + QLatin1String(extension);
        const QString beside = programFolder + name, mine = userFolder + name;
        if (!QFileInfo(beside).isFile() || QFileInfo::exists(mine))
            continue;
        // Copied under another name first: a copy cut short is never taken for the file.
        const QString partial = mine + QStringLiteral(".copie");
        QFile::remove(partial);
        if (!QFile::copy(beside, partial) || !QFile::rename(partial, mine))
            QFile::remove(partial);
    }
}

QString FileWithExtension(const QString& extension) {
    return ProgramFiles::DataFolder() + ProgramFiles::BaseName() + extension;
}
} // namespace

namespace ProgramFiles {
QString ExecutablePath() {
    if (!overriddenExecutable.isEmpty())
        return overriddenExecutable;
    const QString path = QCoreApplication::applicationFilePath();
    return path.isEmpty() ? QDir::currentPath() + QStringLiteral("/tallivo") : path;
}

void SetExecutablePathForTests(const QString& path) {
    overriddenExecutable = path;
}

QString ProgramFolder() {
    return QFileInfo(ExecutablePath()).absolutePath() + QLatin1Char('/');
}

QString DataFolder() {
    const QString programFolder = ProgramFolder();
    if (!IsInstalled() && FolderIsWritable(programFolder))
        return programFolder;
    QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (folder.isEmpty())
        folder = QDir::homePath() + QStringLiteral("/.local/share/Tallivo");
    // Nowhere to write at all (a read-only home too): the files beside the program are at
    // least read, rather than defaults taken for the user's settings, and each save that
    // fails says why.
    if (!QDir().mkpath(folder) || !FolderIsWritable(folder))
        return IsInstalled() ? folder + QLatin1Char('/') : programFolder;
    AdoptFilesBesideTheProgram(programFolder, folder + QLatin1Char('/'));
    return folder + QLatin1Char('/');
}

QString InstalledDataFolder() {
    return QDir::cleanPath(ProgramFolder() + QStringLiteral("../share/tallivo")) + QLatin1Char('/');
}

QString ShippedFile(const QString& name) {
    const QString beside = ProgramFolder() + name;
    return QFile::exists(beside) ? beside : InstalledDataFolder() + name;
}

QString BaseName() {
    return QFileInfo(ExecutablePath()).completeBaseName();
}
QString SettingsFileName() {
    return FileWithExtension(QStringLiteral(".ini"));
}
IniFile SettingsFile() {
    return IniFile(SettingsFileName());
}
QString TariffFileName() {
    return FileWithExtension(QStringLiteral(".csv"));
}
QString JournalFileName() {
    return FileWithExtension(QStringLiteral(".jnl"));
}
QString SoundFileName() {
    return FileWithExtension(QStringLiteral(".wav"));
}
QString CheckpointFileName() {
    return FileWithExtension(QStringLiteral(".session"));
}
QString LockFileName() {
    return FileWithExtension(QStringLiteral(".lock"));
}
} // namespace ProgramFiles
