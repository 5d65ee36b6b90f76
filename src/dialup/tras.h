#pragma once

// Placeholder of the dial-up component: the binding is not there yet, so every operation
// answers "unavailable" (1157). The real component replaces this file.

#include <QObject>
#include <QString>
#include <QStringList>

class TConnectionList {
public:
    int Count() const { return int(names.size()); }
    QString ConnectionName(int index) const { return names.value(index); }
    QStringList names;
};

class TRAS : public QObject {
    Q_OBJECT
public:
    explicit TRAS(QObject* owner = nullptr) : QObject(owner) {}

    bool RasAvailable() { return false; }
    int EnumEntries() { Entries.clear(); LastError = 1157; return LastError; }
    int EnumConnections() { Connections.names.clear(); LastError = 1157; return LastError; }
    int FirstConnectionName(QString* name) { name->clear(); return 1157; }
    int AttachConnection(int) { return 1157; }
    int StatusText(QString* text) { text->clear(); return 1157; }
    int GetIPAddresses() { ClientIP.clear(); ServerIP.clear(); return 0; }
    int HangUp() { RASConn = 0; return 0; }
    int Disconnect() { return HangUp(); }
    int ReleaseConnection() { RASConn = 0; return HangUp(); }
    void ResetStats() { StatsXmit = StatsRecv = 0; }
    bool ControlStats(bool, bool) { return false; }
    void ReadStats() {}

    QString EntryName;
    QString StatusStr;
    QString ClientIP, ServerIP;
    qint32 StatsXmit = 0, StatsRecv = 0;
    qint32 LastError = 0;
    quint32 RASConn = 0;
    quint16 ConnectState = 0;
    QStringList Entries;
    TConnectionList Connections;

signals:
    void OnStateChanged();
};
