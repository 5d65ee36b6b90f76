#pragma once

#include "base/result.h"

#include <QString>

// Starting with the session: an XDG autostart entry NAME.desktop in the user's autostart
// folder ($XDG_CONFIG_HOME/autostart, by default ~/.config/autostart). The functions never
// throw; a failure is returned as a French text that the caller may show or ignore.
namespace Autostart {
// The name of the program's own entry: "Tallivo".
QString EntryName();
QString AutostartFolder();
QString EntryFileName(const QString& name);

// The Exec value that starts this executable, quoted as desktop entries require.
QString ExecValue(const QString& executablePath);

// Writes the entry NAME.desktop starting the executable.
Result Install(const QString& name, const QString& executablePath);
// Removes the entry NAME.desktop; a missing entry is no failure.
Result Remove(const QString& name);
bool IsInstalled(const QString& name);

// Removes the entries of the two obsolete names: the executable's file name without folder
// and extension, and "destroy me" (the title a second copy takes). The program's own entry
// is never removed, even when the executable bears the same name.
void CleanObsoleteEntries(const QString& executableBaseName);
} // namespace Autostart
