#pragma once

// A simulated modem and phonebook, for trying the program without a modem and for tests.
// The phonebook is an INI file beside the program: one section per entry, with what the
// modem does when it is dialled ("Outcome": connect, busy, noanswer, badpassword, drop after
// "DropAfter" seconds). A dial walks the real state sequence with a modem's delays; a
// connection's counters grow like a 56K modem's; addresses are taken from 192.0.2.0/24.

#include "base/result.h"
#include "dialup/ras_provider.h"

#include <QElapsedTimer>
#include <QString>
#include <memory>
#include <vector>

class QTimer;

class SimulationProvider : public RasProvider {
  public:
    explicit SimulationProvider(QString phonebookFile);
    ~SimulationProvider() override;

    // tallivo-modem.ini in the program's data folder.
    static QString DefaultPhonebookFile();
    // Writes the phonebook of examples when the file does not exist.
    static Result CreateDefaultPhonebook(const QString& fileName);
    // Multiplies every delay (tests run the modem a hundred times faster).
    static void SetTimeScale(double scale);
    static double TimeScale();

    // Entry names in file order.
    QStringList EntryNames(const QString& fileName) const;

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
    QString Kind() const override { return QStringLiteral("simulation"); }

    // A dialled connection that ended stays listed this long (real milliseconds).
    int EndedVisibleMs = 3000;

  private:
    struct Call;
    QString File(const char* phonebook) const;
    bool HasEntry(const QString& fileName, const QString& name) const;
    // Whether a call of this entry is dialling or up.
    bool EntryInUse(const QString& name);
    Call* Find(HRASCONN handle);
    void Advance(Call* call);
    void Sweep();
    quint32 StateOf(Call* call, quint32* error);

    QString defaultFile;
    std::unique_ptr<QObject> context;
    std::vector<std::unique_ptr<Call>> calls;
    HRASCONN nextHandle = 1;
};
