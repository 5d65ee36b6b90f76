#pragma once

#include <QByteArray>

// An entry name is a file name under the phonebook folder: it must stay inside it. Rejected:
// empty, more than 256 bytes, a "/", a leading ".", control characters.
bool IsValidEntryName(const QByteArray& name);
// Stricter, for names written into a shell command line of a peers file: letters, digits
// (any non-ASCII character too) and "_-+.,@=%:".
bool IsShellSafeEntryName(const QByteArray& name);
