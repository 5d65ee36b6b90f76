#include "base/log.h"

#include <QByteArray>
#include <cstdio>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

Q_LOGGING_CATEGORY(logFiles, "tallivo.files")
Q_LOGGING_CATEGORY(logDialup, "tallivo.dialup")
Q_LOGGING_CATEGORY(logMonitor, "tallivo.monitor")
Q_LOGGING_CATEGORY(logSettings, "tallivo.settings")
Q_LOGGING_CATEGORY(logStartup, "tallivo.startup", QtInfoMsg)

namespace {
constexpr char journalSocket[] = "/run/systemd/journal/socket";

int Priority(QtMsgType type) {
    switch (type) {
    case QtDebugMsg:
        return 7;
    case QtInfoMsg:
        return 6;
    case QtWarningMsg:
        return 4;
    case QtCriticalMsg:
        return 3;
    case QtFatalMsg:
        return 2;
    }
    return 6;
}

// Best effort: a journal that is absent or full never holds the program up.
void SendToJournal(const QByteArray& entry) {
    static const int socketFd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (socketFd < 0 || ::access(journalSocket, W_OK) != 0)
        return;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", journalSocket);
    ::sendto(socketFd, entry.constData(), size_t(entry.size()), MSG_DONTWAIT,
             reinterpret_cast<const sockaddr*>(&address), sizeof address);
}

void WriteMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    const QString category = QString::fromLatin1(context.category ? context.category : "default");
    const QByteArray line =
        (category + QStringLiteral(": ") + message + QLatin1Char('\n')).toUtf8();
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
    SendToJournal(JournalEntry(type, category, message));
    if (type == QtFatalMsg)
        std::abort();
}
} // namespace

QByteArray JournalEntry(QtMsgType type, const QString& category, const QString& message) {
    // A message on several lines would need the binary form; the journal gets one line.
    QString oneLine = message;
    oneLine.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return "PRIORITY=" + QByteArray::number(Priority(type)) + "\nSYSLOG_IDENTIFIER=tallivo\n" +
           "TALLIVO_CATEGORY=" + category.toUtf8() + "\nMESSAGE=" + oneLine.toUtf8() + '\n';
}

void InstallLog() {
    qInstallMessageHandler(WriteMessage);
}
