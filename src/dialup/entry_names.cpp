#include "dialup/entry_names.h"

bool IsValidEntryName(const QByteArray& name) {
    if (name.isEmpty() || name.size() > MaxEntryNameBytes || name.startsWith('.'))
        return false;
    for (const char c : name) {
        const uchar byte = uchar(c);
        if (byte == '/' || byte < 0x20 || byte == 0x7f)
            return false;
    }
    return true;
}

bool IsValidSectionEntryName(const QByteArray& name) {
    return IsValidEntryName(name) && !name.contains('[') && !name.contains(']') &&
           !name.startsWith(' ') && !name.startsWith('\t') && !name.endsWith(' ') &&
           !name.endsWith('\t');
}

bool IsBackupFileName(const QByteArray& name) {
    return name.endsWith(".bak") || name.endsWith('~') || name.contains(".dpkg-");
}

bool IsShellSafeEntryName(const QByteArray& name) {
    if (!IsValidEntryName(name) || IsBackupFileName(name))
        return false;
    for (const char c : name) {
        const uchar byte = uchar(c);
        const bool plain = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
                           (byte >= '0' && byte <= '9') || byte >= 0x80;
        if (!plain && !QByteArray("_-+.,@=%:").contains(c))
            return false;
    }
    return true;
}

bool HasControlCharacter(const QString& text) {
    for (const QChar c : text)
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return true;
    return false;
}
