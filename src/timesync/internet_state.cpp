#include "timesync/internet_state.h"

#include <QFile>
#include <QStringList>

namespace {
QString ipv4Table = QStringLiteral("/proc/net/route");
QString ipv6Table = QStringLiteral("/proc/net/ipv6_route");

QStringList Lines(const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLatin1(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// /proc/net/route: "Iface Destination Gateway Flags ... Mask ...", hexadecimal fields.
bool Ipv4Default(const QStringList& lines) {
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QStringList fields = lines[i].simplified().split(QLatin1Char(' '));
        constexpr uint routeUp = 0x1;
        if (fields.size() >= 8 && fields[1] == QStringLiteral("00000000") &&
            fields[7] == QStringLiteral("00000000") && (fields[3].toUInt(nullptr, 16) & routeUp))
            return true;
    }
    return false;
}

// /proc/net/ipv6_route: destination, prefix length, ..., flags, interface; the loopback's
// unreachable default entries are not a route out.
bool Ipv6Default(const QStringList& lines) {
    for (const QString& line : lines) {
        const QStringList fields = line.simplified().split(QLatin1Char(' '));
        constexpr uint routeUp = 0x1;
        if (fields.size() >= 10 && fields[0] == QString(32, QLatin1Char('0')) &&
            fields[1] == QStringLiteral("00") && fields[9] != QStringLiteral("lo") &&
            (fields[8].toUInt(nullptr, 16) & routeUp))
            return true;
    }
    return false;
}
} // namespace

bool HasDefaultRoute() {
    return Ipv4Default(Lines(ipv4Table)) || Ipv6Default(Lines(ipv6Table));
}

void SetRouteTableFiles(const QString& ipv4, const QString& ipv6) {
    ipv4Table = ipv4.isEmpty() ? QStringLiteral("/proc/net/route") : ipv4;
    ipv6Table = ipv6.isEmpty() ? QStringLiteral("/proc/net/ipv6_route") : ipv6;
}
