#include "tariff/update_server.h"

#include "base/ini_file.h"

namespace UpdateServerSettings {
UpdateServer Read(const QString& settingsFileName) {
    const IniFile settings(settingsFileName);
    UpdateServer server;
    const QString host = settings.ReadString(Section, QStringLiteral("Host"), QString()).trimmed();
    if (!host.isEmpty())
        server.host = host;
    else
        server.host = DefaultHost;
    const int port = settings.ReadInteger(Section, QStringLiteral("Port"), server.port);
    if (port >= 1 && port <= 65535)
        server.port = port;
    server.passive = settings.ReadBool(Section, QStringLiteral("Passive"), server.passive);
    const int timeout =
        settings.ReadInteger(Section, QStringLiteral("Timeout"), server.timeoutSeconds);
    if (timeout >= 1 && timeout <= 600)
        server.timeoutSeconds = timeout;
    return server;
}
} // namespace UpdateServerSettings
