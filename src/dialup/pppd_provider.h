#pragma once

// The real Linux dial-up stack as a provider: entries are pppd peers files, a dial runs
// "pppd call NAME nodetach debug" as a child process whose log lines and exit status become
// the dial's states and errors, running sessions are also found through /run/pppN.pid and
// /proc/PID/cmdline, a hang-up is SIGTERM.

#include "dialup/pppd_dial_tracker.h"
#include "dialup/pppd_phonebook.h"
#include "dialup/ras_provider.h"

#include <QElapsedTimer>
#include <QFile>
#include <QString>
#include <memory>
#include <vector>

class QProcess;
class QTimer;

class PppdProvider : public RasProvider {
  public:
    struct Options {
        QString PppdPath = QStringLiteral("/usr/sbin/pppd");
        QString PhonebookFolder = PppdPhonebook::DefaultFolder;
        QString RunFolder = QStringLiteral("/run");
        QString ProcFolder = QStringLiteral("/proc");
        QString NetFolder = QStringLiteral("/sys/class/net");
        // pppd's output goes to a file here, so that a connection left up survives the program.
        QString LogFolder;
        // A dialled connection that ended stays listed this long, with its error.
        int EndedVisibleMs = 5000;
        // A pppd that ignores SIGTERM this long is killed.
        int HangUpKillMs = 10000;
    };

    explicit PppdProvider(Options options);
    ~PppdProvider() override;

    quint32 RasDialA(void* extensions, const char* phonebook, RASDIALPARAMSA* params,
                     const DialNotifier& notifier, HRASCONN* connection) override;
    quint32 RasEnumConnectionsA(RASCONNA* connections, quint32* size, quint32* count) override;
    quint32 RasEnumEntriesA(const char* reserved, const char* phonebook, RASENTRYNAMEA* entries,
                            quint32* size, quint32* count) override;
    quint32 RasGetConnectStatusA(HRASCONN connection, RASCONNSTATUSA* status) override;
    quint32 RasHangUpA(HRASCONN connection) override;
    quint32 RasGetEntryDialParamsA(const char* phonebook, RASDIALPARAMSA* params,
                                   qint32* passwordStored) override;
    quint32 RasSetEntryDialParamsA(const char* phonebook, RASDIALPARAMSA* params,
                                   qint32 removePassword) override;
    quint32 RasEditPhonebookEntryA(QObject* owner, const char* phonebook,
                                   const char* entryName) override;
    quint32 RasCreatePhonebookEntryA(QObject* owner, const char* phonebook) override;
    quint32 RasGetProjectionInfoA(HRASCONN connection, quint32 projection, void* buffer,
                                  quint32* size) override;
    quint32 RasGetEntryPropertiesA(const char* phonebook, const char* entryName, RASENTRYA* entry,
                                   quint32* entrySize, void* deviceInfo,
                                   quint32* deviceInfoSize) override;
    quint32 RasRenameEntryA(const char* phonebook, const char* oldName,
                            const char* newName) override;
    quint32 RasDeleteEntryA(const char* phonebook, const char* entryName) override;
    quint32 RasValidateEntryNameA(const char* phonebook, const char* entryName) override;

    bool CountersAvailable() const override { return true; }
    bool ReadCounters(HRASCONN connection, QList<LinkCounters>* counters) override;
    bool LinkUp(const QString& entryName) override;
    QString Kind() const override { return QStringLiteral("pppd"); }

    const Options& Settings() const { return options; }

  private:
    struct Dialled;
    struct Session {
        HRASCONN Handle = 0;
        QString Name;
        QString Interface;
        qint64 Pid = 0;
        quint32 State = 0;
        quint32 Error = 0;
        Dialled* Own = nullptr;
    };

    PppdPhonebook Phonebook(const char* phonebook) const;
    QList<Session> Sessions();
    bool FindSession(HRASCONN handle, Session* session);
    Dialled* FindDialled(HRASCONN handle) const;
    // Whether a pppd (ours or another program's) runs this entry.
    bool EntryInUse(const QString& name);
    void ReadLog(Dialled* dialled);
    void ProcessEnded(Dialled* dialled, int exitCode, bool crashed);
    void Forget(Dialled* dialled);
    void Tick();
    QString EntryOfProcess(qint64 pid) const;

    Options options;
    std::unique_ptr<QObject> context;
    QTimer* logTimer = nullptr;
    std::vector<std::unique_ptr<Dialled>> dialled;
    HRASCONN nextHandle = 1;
};
