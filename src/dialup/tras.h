#pragma once

// TRAS, the non-visual component through which the program sees dial-up networking: lists
// the entries and the active connections, reads and stores dial parameters, dials
// asynchronously and follows the dial, turns states into French texts, hangs up, reads the
// IP addresses and the link statistics. It holds at most one connection handle, RASConn.

#include "dialup/ras_binding.h"
#include "dialup/ras_records.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <vector>

// The active connections of the last enumeration; each record is a copy of the service's.
class TConnectionList {
  public:
    int Count() const { return int(Records.size()); }
    void AddConnection(const RASCONNA& record) { Records.push_back(record); }
    HRASCONN ConnectionHandle(int index) const;
    QString ConnectionName(int index) const;
    void DeleteConnection(int index);
    void ClearConnections();

  private:
    std::vector<RASCONNA> Records;
};

class TRASNotifier;

class TRAS : public QObject {
    Q_OBJECT
  public:
    explicit TRAS(QObject* owner = nullptr);
    ~TRAS() override;

    // ---- Published properties ----------------------------------------------------------
    QString EntryName;
    QString PhoneNumber;
    const QString& PhoneBookPath() const { return PhoneBook; }
    void SetPhoneBookPath(const QString& path);
    QString CallbackNumber;
    QString UserName;
    QString Password;
    int RedialAttempts = 1;
    QString Domain;
    QString DeviceType;
    QString DeviceName;
    QString DevicePort;
    QString ClientIP;
    QString ServerIP;
    qint64 StatsXmit = 0;
    qint64 StatsRecv = 0;
    qint32 StatsConn = 0;
    qint32 LastError = 0;
    quint32 RASConn = 0;
    quint16 ConnectState = 0;
    quint16 SavedState = 9999;
    quint16 ConnectError = 0;
    QString StatusStr;
    QString CurConnName;
    quint32 NumConns = 0;
    quint32 CurRASConn = 0;
    QString PhoneCanonical;
    QString KeyDUNAdap = QStringLiteral("Dial-Up Adapter");
    QString KeyDUNConn = QStringLiteral("ConnectSpeed");
    QString KeyDUNXmit = QStringLiteral("TotalBytesXmit");
    QString KeyDUNRecv = QStringLiteral("TotalBytesRecvd");

    // ---- Lists ---------------------------------------------------------------------------
    QStringList Entries;
    TConnectionList Connections;
    QStringList Adapters;

    // ---- Binding -------------------------------------------------------------------------
    bool LoadRasApi() { return Binding.LoadRasApi(); }
    bool RasAvailable();
    bool EntryFunctionsAvailable() const { return Binding.EntryFunctionsAvailable; }

    // ---- Operations ----------------------------------------------------------------------
    int EnumEntries();
    int EnumConnections();
    int FirstConnectionName(QString* name);
    int GetDialParams();
    int GetEntryProperties();
    int SetDialParams();
    int EditEntry();
    int CreateEntry();
    int DeleteEntry();
    int RenameEntry(const QString& newName);
    int ValidateName(const QString& name);
    int Connect();
    int Dial();
    int GetConnectStatus();
    int StatusText(QString* text);
    int AttachConnection(int index);
    int HangUp();
    int Disconnect();
    int ReleaseConnection();
    int GetIPAddresses();
    QString ErrorText(int code);
    QString StateText();

    // The handler of the notifier: one progress report (state, error) of a dial.
    void DialEventProc(int message, quint32 state, quint32 error);
    int DialEventMessage = 0;

    // ---- Link statistics -----------------------------------------------------------------
    void ResetStats();
    bool EnumAdapters();
    bool ControlStats(bool start, bool findAdapter);
    bool ReadStats();
    quint64 RawXmit = 0;
    quint64 RawRecv = 0;
    quint64 BaseXmit = 0;
    quint64 BaseRecv = 0;

    // Whether the link of the named entry (the followed one when empty) is up, asked of
    // the provider: the program's "is there an Internet connection" test.
    bool LinkUp(const QString& entryName = {});

    RASDIALPARAMSA DialParams{};

  signals:
    void OnStateChanged();
    void OnConnect();
    void OnDisconnect(int error, const QString& errorString);
    void OnCallBack();
    void OnAboutToOpenPort();
    void OnPortOpened();
    void OnAboutToConnDev();
    void OnDevConnected();
    void OnAllDevsConnected();
    void OnAuthenticate();
    void OnAuthNotify();
    void OnAuthRetry();
    void OnAuthCallBack();
    void OnAuthChangePassword();
    void OnAuthProject();
    void OnAuthLinkSpeed();
    void OnAuthAck();
    void OnReAuthenticate();
    void OnAuthenticated();
    void OnPrepareforCallback();
    void OnWaitForModemReset();
    void OnInteractiveStarted();
    void OnRetryAuth();
    void OnPasswordExpired();

  private:
    // The guarded start: 1157 in LastError; false when the binding is unavailable.
    bool GuardedStart();
    // Asks the service for the state of RASConn into LastError and *status; false when it
    // cannot be asked.
    bool QueryConnectStatus(RASCONNSTATUSA* status);
    // Asks the service for its connections into ConnectionArray, NumConns and LastError; the
    // first one becomes the current one. False when it cannot be asked.
    bool QueryConnections();
    int Finish(quint32 code, bool setStatus = true);
    QByteArray PhoneBookArgument() const;
    const char* PhoneBookOrNull(const QByteArray& path) const;
    void FillDialParams();
    void StateChangeNotification();
    void FireStateEvent(quint16 state);
    void FireDisconnectEvent();
    void DestroyNotifier();
    // Asks the service to hang RASConn up; false when it cannot be asked.
    bool SendHangUp(int* result);
    // RASConn is no longer followed: its handle and notifier go, LastError is the result.
    void ForgetConnection(int result);
    bool Assigned(const QMetaMethod& signal) const;

    QString PhoneBook;
    RasBinding Binding;
    RASCONNA ConnectionArray[Ras::ConnectionRecords]{};
    QPointer<TRASNotifier> NotifierWindow;
    QString StatsSource;
};

// The hidden object that receives the dial progress reports of one dial.
class TRASNotifier : public QObject {
    Q_OBJECT
  public:
    explicit TRASNotifier(TRAS* owner) : QObject(owner), Owner(owner) {}
    bool event(QEvent* event) override;
    TRAS* Owner;
};
