#pragma once

// Which dial-up provider the program uses: section "Dialup", key "Provider" of the settings
// file: "pppd", "simulation" or "none". Without the key: "pppd" when pppd is installed,
// otherwise "none".

#include "dialup/ras_binding.h"

#include <QString>

namespace DialupSettings {
inline const QString Section = QStringLiteral("Dialup");
inline const QString ProviderKey = QStringLiteral("Provider");
inline const QString DefaultPppdPath = QStringLiteral("/usr/sbin/pppd");
} // namespace DialupSettings

QString ConfiguredProviderName();
// The provider of that name; one per process and kind, shared by every component.
RasLibrary CreateConfiguredProvider();
