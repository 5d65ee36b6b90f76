#pragma once

#include <QList>
#include <QString>
#include <QVariant>

class IniFile;

// The keys of the settings file that the main window reads at start and writes back, with
// their types and defaults, in the order the save writes them (the file keeps that order).
enum class SettingType { Bool, Integer, Text };

struct SettingKey {
    QString section;
    QString key;
    SettingType type;
    QVariant defaultValue; // invalid when the reader computes it (a position, a folder)
};

namespace SettingKeys {
const QList<SettingKey>& All();
// The key of that name; a key missing from the table is a programming error.
const SettingKey& Find(const QString& section, const QString& key);
// The stored value, or the key's default (or `fallback` when it has none).
QVariant Read(const IniFile& settings, const SettingKey& key, const QVariant& fallback = {});
void Write(IniFile& settings, const SettingKey& key, const QVariant& value);
} // namespace SettingKeys
