#pragma once

#include <QByteArray>
#include <QString>

// An entry name is a file name under the phonebook folder: it must stay inside it. Rejected:
// empty, more than MaxEntryNameBytes, a "/", a leading ".", control characters.
bool IsValidEntryName(const QByteArray& name);
// A file name holds at most 255 bytes, and a safe write's temporary file adds a suffix to
// the name: longer names could be listed but never written again.
constexpr int MaxEntryNameBytes = 240;
// A section name of an INI phonebook: a valid entry name that its section line can hold
// (no brackets, no blanks at either end, which the reader would cut).
bool IsValidSectionEntryName(const QByteArray& name);
// A backup left in the peers folder (by the program's deletion, an editor or dpkg): never
// listed as an entry.
bool IsBackupFileName(const QByteArray& name);
// Stricter, for names written into a shell command line of a peers file: letters, digits
// (any non-ASCII character too) and "_-+.,@=%:"; a backup's name would never be listed.
bool IsShellSafeEntryName(const QByteArray& name);
// A line end in a user name or password would end its quoted word's line in the options and
// secrets files, and the rest would be read as options of its own.
bool HasControlCharacter(const QString& text);
