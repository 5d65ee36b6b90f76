#pragma once

#include "base/ini_file.h"

#include <QString>

// The program's files are named after the executable: tallivo.ini, tallivo.csv,
// tallivo.jnl and tallivo.wav beside it. When the executable's folder cannot be written
// or the program is installed, the same names are used in the user's data folder.
namespace ProgramFiles {
QString ExecutablePath();
// Tests point the program at an executable path of their own (a temporary folder).
void SetExecutablePathForTests(const QString& path);

QString ProgramFolder(); // the executable's folder, ending with "/"
QString DataFolder();    // where the four files live, ending with "/"
// Files shipped with the program (the default alarm sound): beside the executable in the
// build folder, else in the installed data folder (share/tallivo/ next to bin/).
QString InstalledDataFolder();
QString ShippedFile(const QString& name);
QString SettingsFileName();
// The settings file, opened for one read or write.
IniFile SettingsFile();
QString TariffFileName();
QString JournalFileName();
QString SoundFileName();
QString CheckpointFileName(); // the running session, kept beside the journal
QString LockFileName();       // held by the copy that keeps these files
QString BaseName();           // the executable's file name without folder and extension
} // namespace ProgramFiles
