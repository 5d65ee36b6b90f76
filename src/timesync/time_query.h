#pragma once

#include "base/errors.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class QEventLoop;

// A failure of the socket layer (lookup, address); the caller treats it like any AppError.
class ESockError : public AppError {
  public:
    using AppError::AppError;
};

// Host-name lookups of the time query. The default one asks the system resolver.
class HostLookup {
  public:
    using Done = std::function<void(const QList<QHostAddress>& addresses)>;
    virtual ~HostLookup() = default;
    // Starts a lookup; `done` runs later on this thread (an empty list when it failed), unless
    // the lookup was aborted. Returns the lookup's id.
    virtual int Start(const QString& host, QObject* context, Done done) = 0;
    virtual void Abort(int id) = 0;
};

// The Time Protocol client (RFC 868 over TCP). Each reading of TimeStr or TimeInt performs one
// query: lookup, connection, answer, each wait bounded by TimeOut milliseconds. The waits run
// nested event loops, so the windows and timers of the program keep running meanwhile.
class TTimeQuery : public QObject {
    Q_OBJECT
  public:
    explicit TTimeQuery(QObject* parent = nullptr);
    ~TTimeQuery() override;

    QString Host;
    int Port = 37;
    int TimeOut = 500;
    // Status texts of a level at or below this one reach OnStatus.
    int ReportLevel = 0;
    // Raised once when the host could not be resolved; setting `handled` asks for another try.
    std::function<void(bool& handled)> OnInvalidHost;

    // The server's UTC time of day as "hh:nn:ss". Throws AppError (ESockError for the socket
    // layer) with a French text on failure.
    QString TimeStr();
    // The server's 32-bit count as a signed integer. Throws like TimeStr.
    qint32 TimeInt();
    // Milliseconds since the last answer arrived: a window opened during the query may have
    // held it back, and the server's time is that much older. 0 before any answer.
    qint64 AnswerAgeMs() const;
    // Ends a running host lookup with "La recherche d'hôte a été annulée".
    void Cancel();
    // Tests replace the resolver; nullptr restores the system one.
    void SetHostLookup(HostLookup* lookup);

  signals:
    void OnStatus(const QString& status);
    void OnConnect();
    void OnDisconnect();
    void OnHostResolved();
    // Raised by a general connect operation; the time query itself never raises it.
    void OnConnectionFailed();

  private:
    QByteArray Query();
    QHostAddress ResolveHost();
    // Runs the event loop until `done` holds or `milliseconds` pass; false on time-out.
    bool WaitUntil(const std::function<bool()>& done, int milliseconds);
    void Wake();
    void Status(const QString& text, int level = 8);

    HostLookup* lookup;
    bool busy = false;
    bool cancelled = false;
    bool woken = false;
    QEventLoop* waitLoop = nullptr;
    QElapsedTimer answerAge;
    // Cleared when the component is destroyed in the middle of one of its own waits.
    std::shared_ptr<bool> alive = std::make_shared<bool>(true);
};
