#pragma once

// Time servers on 127.0.0.1 for the clock tests: small ones with chosen behaviour, run by the
// test's own event loop, and the real RFC 868 service of xinetd, run as a separate process.

#include "support/loopback_port.h"

#include <QByteArray>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QList>
#include <QPointer>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <unistd.h>

// The RFC 868 answer for a UTC moment.
inline QByteArray TimeAnswerFor(const QDateTime& utc) {
    const qint64 seconds = QDateTime(QDate(1900, 1, 1), QTime(0, 0), Qt::UTC).secsTo(utc);
    const auto count = static_cast<quint32>(seconds); // wraps into the next era after 2036
    QByteArray bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<char>((count >> (8 * (3 - i))) & 0xff);
    return bytes;
}

class FakeTimeServer {
  public:
    enum class Behaviour { Answer, Silent, ThreeBytesThenClose, SlowBytes, Flood };

    explicit FakeTimeServer(Behaviour behaviour, QByteArray answer = QByteArray(4, '\0'))
        : behaviour(behaviour), answer(std::move(answer)) {
        server.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&server, &QTcpServer::newConnection, &server, [this] { Serve(); });
    }
    quint16 port() const { return server.serverPort(); }
    int accepted = 0;
    qint64 sent = 0;

  private:
    void Serve() {
        while (QTcpSocket* client = server.nextPendingConnection()) {
            ++accepted;
            switch (behaviour) {
            case Behaviour::Answer:
                Write(client, answer);
                client->disconnectFromHost();
                break;
            case Behaviour::Silent:
                break;
            case Behaviour::ThreeBytesThenClose:
                Write(client, answer.left(3));
                client->disconnectFromHost();
                break;
            case Behaviour::SlowBytes:
                SendSlowly(client, 0);
                break;
            case Behaviour::Flood:
                Write(client, answer);
                QObject::connect(client, &QTcpSocket::bytesWritten, client, [this, client] {
                    if (client->bytesToWrite() < 65536)
                        Write(client, QByteArray(65536, 'x'));
                });
                Write(client, QByteArray(65536, 'x'));
                break;
            }
        }
    }
    void Write(QTcpSocket* client, const QByteArray& bytes) { sent += client->write(bytes); }
    void SendSlowly(QTcpSocket* client, int index) {
        if (index >= answer.size()) {
            client->disconnectFromHost();
            return;
        }
        QPointer<QTcpSocket> alive(client);
        QTimer::singleShot(300, &server, [this, alive, index] {
            if (!alive)
                return;
            Write(alive, answer.mid(index, 1));
            alive->flush();
            SendSlowly(alive, index + 1);
        });
    }

    QTcpServer server;
    Behaviour behaviour;
    QByteArray answer;
};

// xinetd's internal "time" service on a free port of 127.0.0.1, stopped by its PID.
class XinetdTimeServer {
  public:
    XinetdTimeServer() : port(FreeLoopbackPort()) {
        const QString conf = folder.filePath(QStringLiteral("xinetd.conf"));
        QFile file(conf);
        file.open(QIODevice::WriteOnly);
        file.write(
            QStringLiteral("service time\n{\n    disable = no\n    type = INTERNAL UNLISTED\n"
                           "    id = time-test\n    socket_type = stream\n"
                           "    protocol = tcp\n%1    wait = no\n    bind = 127.0.0.1\n"
                           "    port = %2\n}\n")
                .arg(geteuid() == 0 ? QStringLiteral("    user = root\n") : QString())
                .arg(port)
                .toUtf8());
        file.close();
        process.setProgram(QStringLiteral("xinetd"));
        process.setArguments({QStringLiteral("-dontfork"), QStringLiteral("-stayalive"),
                              QStringLiteral("-filelog"), folder.filePath(QStringLiteral("log")),
                              QStringLiteral("-f"), conf, QStringLiteral("-pidfile"),
                              folder.filePath(QStringLiteral("pid"))});
        process.start();
        if (!process.waitForStarted(5000))
            return;
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 5000) {
            QTcpSocket probe;
            probe.connectToHost(QHostAddress::LocalHost, port);
            if (probe.waitForConnected(200)) {
                ready = true;
                probe.abort();
                break;
            }
            QThread::msleep(50);
        }
    }
    ~XinetdTimeServer() {
        if (process.state() != QProcess::NotRunning) {
            process.terminate(); // by its PID, the process this object started
            if (!process.waitForFinished(3000))
                process.kill();
            process.waitForFinished(3000);
        }
    }
    QTemporaryDir folder;
    quint16 port;
    QProcess process;
    bool ready = false;
};
