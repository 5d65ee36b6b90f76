#pragma once

#include "base/errors.h"

#include <QObject>
#include <QString>
#include <atomic>
#include <functional>

// A failed connection, raised only when SilentExceptions is false.
class EWinInetError : public AppError {
  public:
    using AppError::AppError;
};

// An Internet session on libcurl: the server, the login, the time limits and the state of the
// connection. Every libcurl call runs on a worker thread while the calling thread waits in a
// nested event loop, so a window that starts a transfer keeps repainting and its timers run.
class TWinInetControl : public QObject {
    Q_OBJECT
  public:
    // The state numbers reported to OnStateChange. libcurl resolves the name inside its
    // connect, so a connection goes from NotConnected through Connecting to Connected.
    enum State {
        Disconnecting = 0,
        NotConnected = 1,
        Connecting = 2,
        Connected = 3,
        Resolving = 4,
        Resolved = 5,
    };

    explicit TWinInetControl(QObject* parent = nullptr);
    ~TWinInetControl() override;

    QString HostName;
    QString UserName;
    QString Password;
    quint16 Port = 0;
    int ConnectRetries = 3; // connection attempts when the server cannot be reached
    // Failures are reported only through results; false raises EWinInetError and the like.
    bool SilentExceptions = true;
    // A transfer that receives nothing for this long is given up (seconds, at least 1).
    int StallTimeout = 60;
    // No operation lasts longer than this (seconds, at least 1), even one that trickles.
    int OperationTimeout = 600;

    int ConnectTimeout() const { return connectTimeoutMs; }
    // Milliseconds; 0 gives the default of 300000.
    void SetConnectTimeout(int milliseconds);

    int State() const { return state; }
    // The libcurl result of the last operation (0 for success).
    int LastError() const { return lastError; }
    // The server's last reply line after the login.
    QString WelcomeText() const { return welcome; }

    // Ends the running operation as soon as possible (it then fails); any thread may call it.
    void Abort() { watch.abortRequested = true; }

  signals:
    void OnStateChange(int state);

  protected:
    void SetState(int newState);
    // The libcurl easy handle of the session (created on first use, it keeps the server
    // connection open between operations); closed by CloseSession.
    void* Session();
    void CloseSession();
    // Sets the options every operation shares (login, time limits, abort check) and the URL.
    void PrepareTransfer(const QByteArray& url);
    // Runs work (libcurl calls on the session) on a worker thread and waits for it while
    // processing events. Returns the work's libcurl result, also kept as LastError.
    int RunOffThread(const std::function<int()>& work);
    QString lastReply; // the server's last reply line, written during an operation
    QString welcome;

  private:
    void* curl = nullptr;
    int state = NotConnected;
    int lastError = 0;
    int connectTimeoutMs = 300000;
    bool running = false;

  public:
    // What the worker thread's progress check needs: the abort request and the moment the
    // last byte went through.
    struct TransferWatch {
        std::atomic_bool abortRequested{false};
        qint64 stallMs = 0;
        qint64 lastBytes = -1;
        qint64 lastProgressMs = 0;
    };

  private:
    TransferWatch watch;
};
