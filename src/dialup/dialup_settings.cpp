#include "dialup/dialup_settings.h"

#include "base/ini_file.h"
#include "base/program_files.h"
#include "dialup/pppd_provider.h"
#include "dialup/simulation_provider.h"

#include <QFileInfo>
#include <map>
#include <memory>

QString ConfiguredProviderName() {
    const IniFile settings = ProgramFiles::SettingsFile();
    const QString chosen =
        settings.ReadString(DialupSettings::Section, DialupSettings::ProviderKey, QString())
            .trimmed()
            .toLower();
    if (chosen == QLatin1String("pppd") || chosen == QLatin1String("simulation") ||
        chosen == QLatin1String("none"))
        return chosen;
    return QFileInfo(DialupSettings::DefaultPppdPath).isExecutable() ? QStringLiteral("pppd")
                                                                     : QStringLiteral("none");
}

RasLibrary CreateConfiguredProvider() {
    // Components share one provider per kind and phonebook, as they would share a library.
    static std::map<QString, std::weak_ptr<RasProvider>> loaded;
    const QString name = ConfiguredProviderName();
    if (name == QLatin1String("none"))
        return {};
    const QString key = name + QLatin1Char('|') + ProgramFiles::SettingsFileName();
    if (RasLibrary existing = loaded[key].lock())
        return existing;
    RasLibrary provider;
    if (name == QLatin1String("pppd"))
        provider = std::make_shared<PppdProvider>(PppdProvider::Options());
    else
        provider = std::make_shared<SimulationProvider>(SimulationProvider::DefaultPhonebookFile());
    loaded[key] = provider;
    return provider;
}
