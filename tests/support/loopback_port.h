#pragma once

#include <QTcpServer>

// A free TCP port on 127.0.0.1, nothing listening on it.
inline quint16 FreeLoopbackPort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const quint16 port = probe.serverPort();
    probe.close();
    return port;
}
