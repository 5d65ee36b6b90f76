#include "app/single_instance.h"

#include "app/application_title.h"
#include "base/program_files.h"

#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {
constexpr int connectTimeoutMs = 1000;
const QByteArray raiseRequest = "raise\n";
bool enforcedByDefault = true;
} // namespace

TOnlyOne::TOnlyOne(QObject* parent) : QObject(parent), EnforceOnlyOne(enforcedByDefault) {}

void TOnlyOne::SetEnforcedByDefault(bool enforced) {
    enforcedByDefault = enforced;
}

QString TOnlyOne::MarkerPath(const QString& applicationTitle) {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir(runtime).exists())
        return runtime + QLatin1Char('/') + MarkerName(applicationTitle);
    return QDir::tempPath() + QLatin1Char('/') + MarkerName(applicationTitle) + QLatin1Char('-') +
           QString::number(getuid());
}

TOnlyOne::~TOnlyOne() {
    // Only the owner removes the marker; a second copy leaves the first copy's marker alone.
    if (server && owner)
        server->close();
    if (dataFolderLock >= 0)
        ::close(dataFolderLock);
}

QString TOnlyOne::MarkerName(const QString& applicationTitle) {
    return QStringLiteral("OnlyOne") + applicationTitle.left(20);
}

void TOnlyOne::HandOver() {
    owner = false;
    SetApplicationTitle(QStringLiteral("destroy me"));
    terminate = true;
}

// The kernel lets the lock go when the process ends, however it ends: it is never stale.
bool TOnlyOne::HoldDataFolderLock() {
    const QByteArray path = QFile::encodeName(ProgramFiles::LockFileName());
    const int descriptor =
        ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (descriptor < 0)
        return true; // cannot guard (a read-only folder), but the program still runs
    if (::flock(descriptor, LOCK_EX | LOCK_NB) == 0) {
        dataFolderLock = descriptor;
        return true;
    }
    const bool heldByAnother = errno == EWOULDBLOCK;
    ::close(descriptor);
    return !heldByAnother;
}

bool TOnlyOne::Check() {
    owner = true;
    if (!EnforceOnlyOne)
        return true;
    const QString formerTitle = ApplicationTitle();
    const QString name = MarkerPath(formerTitle);

    // Two copies started at the same instant look for the marker and take it in turn; else
    // both could find none, and the second remove the first one's marker.
    QLockFile lookingInTurn(name + QStringLiteral(".lock"));
    lookingInTurn.tryLock(3 * connectTimeoutMs);

    QLocalSocket probe;
    probe.connectToServer(name);
    if (probe.waitForConnected(connectTimeoutMs)) {
        HandOver();
        probe.write(raiseRequest);
        probe.waitForBytesWritten(connectTimeoutMs);
        probe.disconnectFromServer();
        return false;
    }
    if (!HoldDataFolderLock()) {
        HandOver();
        ownerUnreachable = true;
        return false;
    }

    // Nobody answers: a marker left behind by a copy that died is stale.
    QLocalServer::removeServer(name);
    server = new QLocalServer(this);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server->listen(name))
        return true; // cannot guard, but the program still runs
    connect(server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* client = server->nextPendingConnection()) {
            connect(client, &QLocalSocket::readyRead, this, [this, client] {
                if (client->readAll().contains("raise"))
                    emit RaiseRequested();
            });
            connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
        }
    });
    return true;
}
