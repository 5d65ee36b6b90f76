#pragma once

// A provider supplies the dial-up service's entry points: the real Linux dial-up stack
// (pppd), a simulated modem, or a test's scripted service. The binding looks its entry
// points up by name at run time and fills the process-wide table with them.

#include "dialup/ras_records.h"

#include <QEvent>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

// The (state, error) pair of one dial progress report, delivered to the notifier on the
// user-interface thread as an event of the type the component registered.
class DialProgressEvent : public QEvent {
  public:
    DialProgressEvent(int type, quint32 state, quint32 error)
        : QEvent(QEvent::Type(type)), State(state), Error(error) {}
    quint32 State;
    quint32 Error;
};

// Where a connection's progress reports go: the notifier object and the event type.
struct DialNotifier {
    QPointer<QObject> Target;
    int EventType = 0;
};

// Posts one progress report; reports to one notifier arrive in the order they were posted,
// and are dropped with the notifier when it is destroyed.
void PostDialProgress(const DialNotifier& notifier, quint32 state, quint32 error);

// The byte counters of one network interface of a connection.
struct LinkCounters {
    QString Source; // which interface, different each time the link is made again
    quint64 Sent = 0;
    quint64 Received = 0;
};

class RasProvider {
  public:
    virtual ~RasProvider() = default;

    // Whether the provider has the entry point of this name (the library's exports).
    virtual bool Exports(const char* entryPoint) const;

    virtual quint32 RasDialA(void* extensions, const char* phonebook, RASDIALPARAMSA* params,
                             const DialNotifier& notifier, HRASCONN* connection) = 0;
    virtual quint32 RasEnumConnectionsA(RASCONNA* connections, quint32* size, quint32* count) = 0;
    virtual quint32 RasEnumEntriesA(const char* reserved, const char* phonebook,
                                    RASENTRYNAMEA* entries, quint32* size, quint32* count) = 0;
    virtual quint32 RasGetConnectStatusA(HRASCONN connection, RASCONNSTATUSA* status) = 0;
    virtual quint32 RasGetErrorStringA(quint32 code, char* text, quint32 size);
    virtual quint32 RasHangUpA(HRASCONN connection) = 0;
    virtual quint32 RasGetEntryDialParamsA(const char* phonebook, RASDIALPARAMSA* params,
                                           qint32* passwordStored) = 0;
    virtual quint32 RasSetEntryDialParamsA(const char* phonebook, RASDIALPARAMSA* params,
                                           qint32 removePassword) = 0;
    virtual quint32 RasEditPhonebookEntryA(QObject* owner, const char* phonebook,
                                           const char* entryName);
    virtual quint32 RasCreatePhonebookEntryA(QObject* owner, const char* phonebook);
    virtual quint32 RasGetProjectionInfoA(HRASCONN connection, quint32 projection, void* buffer,
                                          quint32* size) = 0;
    virtual quint32 RasGetEntryPropertiesA(const char* phonebook, const char* entryName,
                                           RASENTRYA* entry, quint32* entrySize, void* deviceInfo,
                                           quint32* deviceInfoSize) = 0;
    virtual quint32 RasRenameEntryA(const char* phonebook, const char* oldName,
                                    const char* newName) = 0;
    virtual quint32 RasDeleteEntryA(const char* phonebook, const char* entryName) = 0;
    virtual quint32 RasValidateEntryNameA(const char* phonebook, const char* entryName) = 0;

    // Beyond the service's entry points: the link statistics and the Internet test.
    // Whether this provider can count the bytes of its links at all.
    virtual bool CountersAvailable() const { return false; }
    // The counters of each interface of the connection; false when it has none up.
    virtual bool ReadCounters(HRASCONN connection, QList<LinkCounters>* counters);
    // Whether the named entry's link is up (any link when the name is empty).
    virtual bool LinkUp(const QString& entryName);
    // Which entry dialog the program shows for this provider.
    virtual QString Kind() const = 0;

  protected:
    // Shows this provider's entry dialog on its phonebook (folder or file); a new entry when
    // the name is empty.
    quint32 OpenEntryDialog(QObject* owner, const QString& phonebook,
                            const QString& entryName = {}) const;
};
