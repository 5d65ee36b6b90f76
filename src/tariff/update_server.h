#pragma once

#include <QString>

// The FTP server that publishes the tariff file: section "FTP" of the settings file, keys
// "Host", "Port", "Passive" and "Timeout" (seconds without data before a transfer is given
// up). The program only reads them; a user or a test writes them to use another server.
struct UpdateServer {
    QString host;
    int port = 21;
    bool passive = true;
    int timeoutSeconds = 30;
};

namespace UpdateServerSettings {
inline const QString Section = QStringLiteral("FTP");
inline const QString DefaultHost = QStringLiteral("ftp.tallivo.fr");
inline const QString RemoteFolder = QStringLiteral("Tallivo");
inline const QString UserName = QStringLiteral("anonymous");
// Missing or unusable values give the defaults above.
UpdateServer Read(const QString& settingsFileName);
} // namespace UpdateServerSettings
