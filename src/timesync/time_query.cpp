#include "timesync/time_query.h"

#include "timesync/time_protocol.h"

#include <QEventLoop>
#include <QHostInfo>
#include <QTcpSocket>
#include <QTimer>
#include <algorithm>
#include <optional>

namespace {
class SystemHostLookup : public HostLookup {
  public:
    int Start(const QString& host, QObject* context, Done done) override {
        return QHostInfo::lookupHost(host, context, [done](const QHostInfo& info) {
            done(info.error() == QHostInfo::NoError ? info.addresses() : QList<QHostAddress>{});
        });
    }
    void Abort(int id) override { QHostInfo::abortHostLookup(id); }
};

SystemHostLookup systemLookup;

// An error raised when the component went away during its own wait: nothing of it is touched.
AppError Interrupted() {
    return AppError(QStringLiteral("La demande de l'heure a été interrompue"));
}

QHostAddress FirstAddress(const QList<QHostAddress>& addresses) {
    const auto ipv4 = std::find_if(addresses.begin(), addresses.end(), [](const QHostAddress& a) {
        return a.protocol() == QAbstractSocket::IPv4Protocol;
    });
    if (ipv4 != addresses.end())
        return *ipv4;
    return addresses.isEmpty() ? QHostAddress() : addresses.first();
}
} // namespace

TTimeQuery::TTimeQuery(QObject* parent) : QObject(parent), lookup(&systemLookup) {}

TTimeQuery::~TTimeQuery() {
    *alive = false;
    if (waitLoop)
        waitLoop->quit();
}

void TTimeQuery::SetHostLookup(HostLookup* replacement) {
    lookup = replacement ? replacement : &systemLookup;
}

void TTimeQuery::Cancel() {
    cancelled = true;
    Wake();
}

qint64 TTimeQuery::AnswerAgeMs() const {
    return answerAge.isValid() ? answerAge.elapsed() : 0;
}

QString TTimeQuery::TimeStr() {
    return TimeOfDayText(TimeCountFromBytes(Query()));
}

qint32 TTimeQuery::TimeInt() {
    return static_cast<qint32>(TimeCountFromBytes(Query()));
}

void TTimeQuery::Status(const QString& text, int level) {
    if (level <= ReportLevel)
        emit OnStatus(text);
}

void TTimeQuery::Wake() {
    woken = true;
    if (waitLoop)
        waitLoop->quit();
}

bool TTimeQuery::WaitUntil(const std::function<bool()>& done, int milliseconds) {
    const std::shared_ptr<bool> living = alive;
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    bool expired = false;
    connect(&deadline, &QTimer::timeout, &loop, [&] {
        expired = true;
        loop.quit();
    });
    Status(QStringLiteral("Timer activé"));
    deadline.start(std::max(milliseconds, 0));
    QEventLoop* outer = waitLoop;
    waitLoop = &loop;
    woken = false;
    bool programEnding = false;
    while (!done() && !expired && !cancelled && !programEnding) {
        // Once the program is ending no event is handled: no answer and no deadline can come.
        if (!woken)
            programEnding = loop.exec() == -1;
        if (!*living)
            throw Interrupted();
        woken = false;
    }
    waitLoop = outer;
    deadline.stop();
    Status(QStringLiteral("Timer désactivé"));
    if (programEnding && !done())
        return false;
    if (expired && !done()) {
        Status(QStringLiteral("Timer déclenché"));
        return false;
    }
    return true;
}

QHostAddress TTimeQuery::ResolveHost() {
    for (int attempt = 0;; ++attempt) {
        Status(QStringLiteral("Résolution d'hôte"));
        QHostAddress address;
        if (address.setAddress(Host.trimmed()) &&
            address.protocol() == QAbstractSocket::IPv4Protocol)
            return address;

        // The answer lives apart from this frame: a late answer after a time-out finds it.
        auto answer = std::make_shared<std::optional<QList<QHostAddress>>>();
        const std::shared_ptr<bool> living = alive;
        const int id = lookup->Start(Host.trimmed(), this,
                                     [answer, living, this](const QList<QHostAddress>& found) {
                                         *answer = found;
                                         if (*living)
                                             Wake();
                                     });
        const bool answered = WaitUntil([&] { return answer->has_value(); }, TimeOut);
        if (!answered || cancelled)
            lookup->Abort(id);
        if (cancelled)
            throw ESockError(QStringLiteral("La recherche d'hôte a été annulée"));
        if (!answered)
            throw ESockError(QStringLiteral("Temps imparti pour Recherche d'hôte dépassé"));
        address = FirstAddress(**answer);
        if (!address.isNull()) {
            emit OnHostResolved();
            return address;
        }
        Status(QStringLiteral("La recherche d'hôte a échoué"));
        bool handled = false;
        if (attempt == 0 && OnInvalidHost)
            OnInvalidHost(handled);
        if (!handled)
            throw ESockError(QStringLiteral("Adresse distante nulle"));
    }
}

QByteArray TTimeQuery::Query() {
    if (busy)
        throw ESockError(QStringLiteral("Déjà connecté"));
    cancelled = false;
    busy = true;
    const std::shared_ptr<bool> living = alive;
    struct Release {
        std::shared_ptr<bool> living;
        bool* busy;
        ~Release() {
            if (*living)
                *busy = false;
        }
    } release{living, &busy};

    const QHostAddress address = ResolveHost();
    Status(QStringLiteral("Connexion"));
    QTcpSocket socket;
    // A server that floods cannot fill memory: Qt buffers no more than the answer's size and
    // the one byte that shows the answer is too long.
    socket.setReadBufferSize(TimeAnswerSize + 1);
    QByteArray answer;
    const auto collect = [&] {
        if (answer.size() <= TimeAnswerSize) {
            answer += socket.read(TimeAnswerSize + 1 - answer.size());
            if (answer.size() >= TimeAnswerSize && !answerAge.isValid())
                answerAge.start();
        }
    };
    answerAge.invalidate();
    bool connected = false;
    connect(&socket, &QTcpSocket::connected, this, [&] {
        connected = true;
        Wake();
    });
    // Read as it comes, not when the wait returns: a window opened meanwhile holds the wait,
    // and the answer's age must count from its arrival.
    connect(&socket, &QTcpSocket::readyRead, this, [&] {
        collect();
        Wake();
    });
    connect(&socket, &QTcpSocket::disconnected, this, &TTimeQuery::Wake);
    connect(&socket, &QTcpSocket::errorOccurred, this, &TTimeQuery::Wake);
    socket.connectToHost(address, static_cast<quint16>(Port));
    // A refused connection never makes `connected` true: it ends in the time-out too.
    if (!WaitUntil([&] { return connected; }, TimeOut)) {
        socket.abort();
        throw AppError(QStringLiteral("La connexion a dépassé le temps imparti"));
    }
    emit OnConnect();

    const auto closed = [&] { return socket.state() == QAbstractSocket::UnconnectedState; };
    const bool finished = WaitUntil(
        [&] {
            collect();
            return answer.size() >= TimeAnswerSize || closed();
        },
        TimeOut);
    // The server closes after its four bytes; one that sends more is no time server. A
    // server that keeps the line open is given a moment to show which it is.
    if (finished && answer.size() == TimeAnswerSize)
        WaitUntil(
            [&] {
                collect();
                return answer.size() > TimeAnswerSize || closed();
            },
            std::min(TimeOut, 1000));
    collect();
    Status(QStringLiteral("Déconnexion"));
    Status(QStringLiteral("Requête fermeture de socket"), 4);
    socket.abort();
    emit OnDisconnect();
    if (answer.size() > TimeAnswerSize)
        throw AppError(QStringLiteral("Le serveur d'horloge a envoyé une réponse qui n'est pas "
                                      "une heure"));
    if (answer.size() == TimeAnswerSize)
        return answer;
    if (!finished)
        throw AppError(QStringLiteral("Le serveur d'horloge n'a pas envoyé l'heure dans le "
                                      "temps imparti"));
    throw AppError(QStringLiteral("Le serveur d'horloge a envoyé une réponse incomplète"));
}
