#include "app/settings_keys.h"

#include "base/ini_file.h"

namespace SettingKeys {
namespace {
SettingKey Key(const char* section, const char* key, SettingType type, QVariant value = {}) {
    return {QLatin1String(section), QLatin1String(key), type, std::move(value)};
}
} // namespace

const QList<SettingKey>& All() {
    using T = SettingType;
    static const QList<SettingKey> keys = {
        Key("MainW", "ComboBox1", T::Integer, 0),
        Key("MainW", "ComboTarif", T::Integer, 0),
        Key("MainW", "Automail", T::Bool, true),
        Key("MainW", "Visuelle", T::Bool, true),
        Key("MainW", "HeureAuto", T::Bool, true),
        Key("Last", "Host", T::Text, QStringLiteral("time.nist.gov")),
        Key("Last", "MinuteST", T::Integer, 30),
        Key("Last", "RadioButton1", T::Bool, false),
        Key("Last", "RadioButton2", T::Bool, false),
        Key("Last", "HeureQ", T::Text, QStringLiteral("12:00")),
        Key("Last", "RadioButton3", T::Bool, false),
        Key("Last", "RadioButton4", T::Bool, true),
        Key("Last", "Jour", T::Integer, 0),
        Key("Last", "HeureH", T::Text, QStringLiteral("12:00")),
        Key("Last", "RadioButton5", T::Bool, true),
        Key("Last", "RadioButton6", T::Bool, false),
        Key("Last", "RadioButton7", T::Bool, true),
        Key("Last", "RadioButton8", T::Bool, false),
        Key("Last", "Minute", T::Integer, 10),
        Key("Last", "Franc", T::Integer, 5),
        Key("Last", "Minutev", T::Integer, 10),
        Key("Last", "Francv", T::Integer, 5),
        Key("Last", "ShowOnStart", T::Bool, true),
        Key("Last", "StayOnTop", T::Bool, true),
        Key("Last", "WinStart", T::Bool, true),
        Key("Last", "monnaie", T::Text, QStringLiteral("F")),
        Key("MainW", "x", T::Integer),
        Key("MainW", "y", T::Integer),
        Key("Miniwin", "x", T::Integer),
        Key("Miniwin", "y", T::Integer),
        Key("Last", "CheminExport", T::Text),
        Key("Last", "ExportFilterIndex", T::Integer, 5),
    };
    return keys;
}

const SettingKey& Find(const QString& section, const QString& key) {
    for (const SettingKey& entry : All())
        if (entry.section == section && entry.key == key)
            return entry;
    qFatal("settings key %s/%s is not in the table", qPrintable(section), qPrintable(key));
}

QVariant Read(const IniFile& settings, const SettingKey& key, const QVariant& fallback) {
    const QVariant defaultValue = key.defaultValue.isValid() ? key.defaultValue : fallback;
    switch (key.type) {
    case SettingType::Bool:
        return settings.ReadBool(key.section, key.key, defaultValue.toBool());
    case SettingType::Integer:
        return settings.ReadInteger(key.section, key.key, defaultValue.toInt());
    case SettingType::Text:
        return settings.ReadString(key.section, key.key, defaultValue.toString());
    }
    return defaultValue;
}

void Write(IniFile& settings, const SettingKey& key, const QVariant& value) {
    switch (key.type) {
    case SettingType::Bool:
        settings.WriteBool(key.section, key.key, value.toBool());
        break;
    case SettingType::Integer:
        settings.WriteInteger(key.section, key.key, value.toInt());
        break;
    case SettingType::Text:
        settings.WriteString(key.section, key.key, value.toString());
        break;
    }
}
} // namespace SettingKeys
