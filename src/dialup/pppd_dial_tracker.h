#pragma once

// Follows one run of "pppd call NAME nodetach" from its log lines and exit status, and turns
// them into the connection states and error codes of the dial-up service.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

struct DialProgress {
    quint32 State = 0;
    quint32 Error = 0;
    bool operator==(const DialProgress&) const = default;
};

class PppdDialTracker {
  public:
    // The ABORT strings of the entry's chat script, in order: chat's exit code 4 + n means
    // the n-th one was seen.
    explicit PppdDialTracker(QStringList abortStrings = {});

    // The process has started: the port is being opened.
    QList<DialProgress> Started(bool chatReportsLines);
    // One log line (without its line end); returns the states it reached.
    QList<DialProgress> Line(const QString& line);
    // The process ended: the last report, a disconnection with the error that explains it.
    DialProgress Finished(int exitCode, bool crashed);
    // The program asked for the hang-up (SIGTERM).
    void HangUpRequested() { hangUpRequested = true; }

    quint32 State() const { return state; }
    bool WasConnected() const { return connected; }
    const QString& Interface() const { return interfaceName; }
    const QString& LocalAddress() const { return localAddress; }
    const QString& RemoteAddress() const { return remoteAddress; }

    // The error of a chat exit code with this script's ABORT list.
    int ChatError(int chatCode) const;

  private:
    QList<DialProgress> Reach(quint32 target);
    int ErrorOfReply(const QString& reply) const;

    QStringList aborts;
    quint32 state = 0;
    bool started = false;
    bool chatLines = false;
    bool dialSent = false;
    bool connected = false;
    bool authenticated = false;
    bool serialUp = false;
    bool hangUpRequested = false;
    int chatCode = -1;
    int noteError = 0;   // a failure told by a log line, used when the exit code is vague
    QString chatFailure; // "BUSY" from chat's "Failed (BUSY)"
    bool optionsFileMissing = false;
    bool deviceMissing = false; // pppd takes a device path that names no file for an option
    bool peerTerminated = false;
    int portError = 0;
    QString interfaceName;
    QString localAddress;
    QString remoteAddress;
};

// The ABORT strings of a chat script, in declaration order (CLR_ABORT and HANGUP ignored).
QStringList ChatAbortStrings(const QByteArray& script);
// Splits chat script or options-file text into words: blanks separate, quotes group,
// backslash escapes (kept for chat; a backslash ending a line of an options file continues
// it), "#" starts a comment at the start of a word.
QStringList SplitWords(const QByteArray& text, bool keepEscapes);
