#pragma once

// What the kernel tells about a dial-up link's network interface: whether it is up, its
// byte counters (sysfs, 64-bit) and its two IPv4 addresses (local and peer).

#include "dialup/ras_provider.h"

#include <QString>
#include <QStringList>

namespace LinkInterfaces {
inline const QString SystemNetFolder = QStringLiteral("/sys/class/net");

// IFF_UP in NETFOLDER/IFACE/flags.
bool InterfaceUp(const QString& netFolder, const QString& interfaceName);
// NETFOLDER/IFACE/statistics/{tx,rx}_bytes; Source is the name and the interface index.
bool ReadCounters(const QString& netFolder, const QString& interfaceName, LinkCounters* counters);
// The point-to-point addresses of the interface in this network namespace.
bool Addresses(const QString& interfaceName, QString* local, QString* peer);
} // namespace LinkInterfaces
