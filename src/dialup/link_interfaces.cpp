#include "dialup/link_interfaces.h"

#include <QFile>
#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

namespace {
bool ReadText(const QString& fileName, QByteArray* text) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    *text = file.read(64).trimmed();
    return true;
}

bool ReadNumber(const QString& fileName, quint64* value) {
    QByteArray text;
    bool ok = false;
    if (ReadText(fileName, &text))
        *value = text.toULongLong(&ok, 10);
    return ok;
}

bool SafeName(const QString& name) {
    return !name.isEmpty() && !name.contains(QLatin1Char('/')) &&
           !name.startsWith(QLatin1Char('.'));
}

QString Dotted(const sockaddr* address) {
    if (!address || address->sa_family != AF_INET)
        return {};
    char text[INET_ADDRSTRLEN] = {};
    const auto* ipv4 = reinterpret_cast<const sockaddr_in*>(address);
    return inet_ntop(AF_INET, &ipv4->sin_addr, text, sizeof text) ? QString::fromLatin1(text)
                                                                  : QString();
}
} // namespace

namespace LinkInterfaces {
bool InterfaceUp(const QString& netFolder, const QString& interfaceName) {
    QByteArray text;
    if (!SafeName(interfaceName) ||
        !ReadText(netFolder + '/' + interfaceName + QStringLiteral("/flags"), &text))
        return false;
    bool ok = false;
    const quint64 flags = text.toULongLong(&ok, 0);
    return ok && (flags & IFF_UP);
}

bool ReadCounters(const QString& netFolder, const QString& interfaceName, LinkCounters* counters) {
    if (!SafeName(interfaceName))
        return false;
    const QString folder = netFolder + '/' + interfaceName;
    LinkCounters read;
    if (!ReadNumber(folder + QStringLiteral("/statistics/tx_bytes"), &read.Sent) ||
        !ReadNumber(folder + QStringLiteral("/statistics/rx_bytes"), &read.Received))
        return false;
    QByteArray index;
    ReadText(folder + QStringLiteral("/ifindex"), &index);
    read.Source = interfaceName + QLatin1Char('#') + QString::fromLatin1(index);
    *counters = read;
    return true;
}

bool Addresses(const QString& interfaceName, QString* local, QString* peer) {
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0)
        return false;
    bool found = false;
    const QByteArray name = interfaceName.toUtf8();
    for (ifaddrs* item = list; item; item = item->ifa_next) {
        // Interfaces without a hardware address have ifa_addr null on their link entry.
        if (!item->ifa_addr || item->ifa_addr->sa_family != AF_INET || name != item->ifa_name)
            continue;
        *local = Dotted(item->ifa_addr);
        *peer = (item->ifa_flags & IFF_POINTOPOINT) ? Dotted(item->ifa_dstaddr) : QString();
        found = true;
        break;
    }
    freeifaddrs(list);
    return found;
}
} // namespace LinkInterfaces
