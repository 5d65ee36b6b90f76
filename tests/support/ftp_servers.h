#pragma once

// FTP servers for the tariff update tests, on 127.0.0.1 and a free port, ended by their PID:
// a real anonymous read-only server (pyftpdlib) serving a temporary folder, and a small
// scripted server that sends part of a file and then stalls or cuts the transfer.

#include "support/loopback_port.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>
#include <sys/time.h>

inline bool WaitForListener(quint16 port, int timeoutMs = 10000) {
    for (int waited = 0; waited < timeoutMs; waited += 100) {
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, port);
        if (socket.waitForConnected(500))
            return true;
        QThread::msleep(100);
    }
    return false;
}

class ServerProcess {
  public:
    ~ServerProcess() { Stop(); }
    bool Start(const QStringList& arguments) {
        process.setProgram(QStringLiteral("/usr/bin/python3"));
        process.setArguments(arguments);
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start();
        return process.waitForStarted() && WaitForListener(port);
    }
    void Stop() {
        if (process.state() == QProcess::NotRunning)
            return;
        process.kill(); // this one process, by its PID
        process.waitForFinished();
    }
    // Everything the server wrote to its log so far.
    QString Log() {
        while (process.waitForReadyRead(20))
            log += QString::fromUtf8(process.readAll());
        log += QString::fromUtf8(process.readAll());
        return log;
    }
    quint16 port = FreeLoopbackPort();

  private:
    QProcess process;
    QString log;
};

// pyftpdlib serving root(); files go under root()/Tallivo.
class TestFtpServer {
  public:
    TestFtpServer() { QDir(root.path()).mkpath(QStringLiteral("Tallivo")); }
    bool Start() {
        if (!server.Start({QStringLiteral("-m"), QStringLiteral("pyftpdlib"), QStringLiteral("-i"),
                           QStringLiteral("127.0.0.1"), QStringLiteral("-p"),
                           QString::number(server.port), QStringLiteral("-d"), root.path()}))
            return false;
        // The probe that found the server listening is its first session.
        const QDeadlineTimer deadline(5000);
        while (Sessions() == 0 && !deadline.hasExpired())
            continue; // each look waits a little for the server's log
        return true;
    }
    quint16 Port() const { return server.port; }
    QString Path(const QString& name) const { return root.filePath("Tallivo/" + name); }
    // Puts a file in the folder "Tallivo", last written at the given moment (UTC) if valid.
    void Put(const QString& name, const QByteArray& contents,
             const QDateTime& modifiedUtc = QDateTime()) const {
        QFile file(Path(name));
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(contents);
        file.close();
        if (modifiedUtc.isValid()) {
            const timeval times[2] = {{static_cast<time_t>(modifiedUtc.toSecsSinceEpoch()), 0},
                                      {static_cast<time_t>(modifiedUtc.toSecsSinceEpoch()), 0}};
            ::utimes(QFile::encodeName(Path(name)).constData(), times);
        }
    }
    // A file of that many zero bytes (sparse, so large ones cost nothing).
    void PutSized(const QString& name, qint64 size) const {
        QFile file(Path(name));
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.resize(size);
    }
    // FTP sessions the server has opened so far.
    int Sessions() { return static_cast<int>(server.Log().count("FTP session opened")); }

  private:
    QTemporaryDir root;
    ServerProcess server;
};

// A server that logs anyone in, lists "tallivo.csv" in any folder and, for RETR, announces
// `size` bytes, sends `sent` of them and then either stalls (keeps both connections open and
// silent) or cuts the transfer. In NamesOnly mode it has no MLSD and lists `size` other names
// before "tallivo.csv"; its log counts the MDTM requests. Passive mode only.
class MisbehavingFtpServer {
  public:
    enum Mode { Stall, Cut, NamesOnly };
    MisbehavingFtpServer(Mode mode, int size, int sent) {
        QFile script(directory.filePath(QStringLiteral("server.py")));
        script.open(QIODevice::WriteOnly);
        script.write(Script());
        script.close();
        started = server.Start({script.fileName(), QString::number(server.port),
                                mode == Stall ? QStringLiteral("stall")
                                : mode == Cut ? QStringLiteral("cut")
                                              : QStringLiteral("names"),
                                QString::number(size), QString::number(sent)});
    }
    bool Started() const { return started; }
    quint16 Port() const { return server.port; }
    QString Log() { return server.Log(); }

  private:
    static QByteArray Script() {
        return R"PY(
import socket, sys, threading, time
port, mode, size, sent = int(sys.argv[1]), sys.argv[2], int(sys.argv[3]), int(sys.argv[4])

def session(control):
    data_server = None
    def reply(text):
        control.sendall((text + "\r\n").encode())
    reply("220 ready")
    buffer = b""
    while True:
        chunk = control.recv(4096)
        if not chunk:
            return
        buffer += chunk
        while b"\r\n" in buffer:
            line, buffer = buffer.split(b"\r\n", 1)
            command = line.decode(errors="replace").split(" ")[0].upper()
            if command == "USER": reply("331 password")
            elif command == "PASS": reply("230 logged in")
            elif command == "PWD": reply('257 "/"')
            elif command == "CWD": reply("250 ok")
            elif command == "TYPE": reply("200 ok")
            elif command == "SIZE": reply("213 %d" % size)
            elif command == "MDTM":
                print("MDTM", flush=True)
                reply("213 20261105143015")
            elif command == "MLSD" and mode == "names": reply("500 unknown command")
            elif command in ("EPSV", "PASV"):
                data_server = socket.socket()
                data_server.bind(("127.0.0.1", 0))
                data_server.listen(1)
                data_port = data_server.getsockname()[1]
                if command == "EPSV":
                    reply("229 passive (|||%d|)" % data_port)
                else:
                    reply("227 passive (127,0,0,1,%d,%d)" % (data_port // 256, data_port % 256))
            elif command in ("MLSD", "NLST", "LIST", "RETR"):
                reply("150 opening (%d bytes)" % size)
                data, _ = data_server.accept()
                if command == "MLSD":
                    data.sendall(b"type=file;size=%d;modify=20261105143015; tallivo.csv\r\n" % size)
                elif command in ("NLST", "LIST"):
                    if mode == "names":
                        data.sendall(b"".join(b"f%05d.csv\r\n" % i for i in range(size)))
                    data.sendall(b"tallivo.csv\r\n")
                else:
                    data.sendall(b"Tarif;" + b"1" * (sent - 6))
                    if mode == "stall":
                        time.sleep(3600)
                    data.close()
                    reply("426 transfer aborted")
                    continue
                data.close()
                reply("226 done")
            elif command == "QUIT":
                reply("221 bye")
                return
            else: reply("502 not implemented")

listener = socket.socket()
listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
listener.bind(("127.0.0.1", port))
listener.listen(5)
while True:
    connection, _ = listener.accept()
    threading.Thread(target=session, args=(connection,), daemon=True).start()
)PY";
    }
    QTemporaryDir directory;
    ServerProcess server;
    bool started = false;
};
