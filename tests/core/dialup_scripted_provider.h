#pragma once

// A dial-up service whose answers a test sets: connections, statuses, entries, and a record
// of every call it received.

#include "dialup/ras_binding.h"

#include <QList>
#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>
#include <cstring>

class ScriptedProvider : public RasProvider {
  public:
    struct Status {
        quint32 Code = 0;
        quint32 State = 0;
        quint32 Error = 0;
    };

    QSet<QString> Missing; // entry points it does not export
    QList<QPair<HRASCONN, QString>> Active;
    QMap<HRASCONN, Status> Statuses;
    QStringList EntryList;
    quint32 DialCode = 0;
    HRASCONN NextHandle = 100;
    DialNotifier LastNotifier;
    RASDIALPARAMSA LastDial{};
    QStringList Calls;      // "RasDialA:<phonebook>" ...
    QList<HRASCONN> HungUp; // handles hung up
    // The entry's properties.
    RASENTRYA Entry{};
    // Counters by handle.
    QMap<HRASCONN, QList<LinkCounters>> Counters;
    bool LinkIsUp = false;

    bool Exports(const char* name) const override { return !Missing.contains(QLatin1String(name)); }

    static QString Book(const char* phonebook) {
        return phonebook ? QString::fromUtf8(phonebook) : QStringLiteral("<default>");
    }

    quint32 RasDialA(void*, const char* phonebook, RASDIALPARAMSA* params,
                     const DialNotifier& notifier, HRASCONN* connection) override {
        Calls << QStringLiteral("RasDialA:") + Book(phonebook);
        LastDial = *params;
        LastNotifier = notifier;
        if (DialCode == 0) {
            *connection = NextHandle++;
            Statuses[*connection] = {0, 0, 0};
        }
        return DialCode;
    }
    quint32 RasEnumConnectionsA(RASCONNA* connections, quint32* size, quint32* count) override {
        const quint32 capacity = *size / sizeof(RASCONNA);
        for (quint32 i = 0; i < quint32(Active.size()) && i < capacity; ++i) {
            connections[i].hrasconn = Active[int(i)].first;
            Ras::CopyField(connections[i].szEntryName, Active[int(i)].second.toUtf8());
        }
        *count = quint32(Active.size());
        return *count > capacity ? quint32(Ras::BufferTooSmall) : 0;
    }
    quint32 RasEnumEntriesA(const char*, const char* phonebook, RASENTRYNAMEA* entries,
                            quint32* size, quint32* count) override {
        Calls << QStringLiteral("RasEnumEntriesA:") + Book(phonebook);
        *count = quint32(EntryList.size());
        if (*count > *size / sizeof(RASENTRYNAMEA))
            return Ras::BufferTooSmall;
        for (int i = 0; i < EntryList.size(); ++i)
            Ras::CopyField(entries[i].szEntryName, EntryList[i].toUtf8());
        return 0;
    }
    quint32 RasGetConnectStatusA(HRASCONN connection, RASCONNSTATUSA* status) override {
        Calls << QStringLiteral("RasGetConnectStatusA");
        if (!Statuses.contains(connection))
            return Ras::InvalidHandle;
        const Status s = Statuses[connection];
        status->rasconnstate = s.State;
        status->dwError = s.Error;
        return s.Code;
    }
    quint32 RasHangUpA(HRASCONN connection) override {
        HungUp << connection;
        return 0;
    }
    quint32 RasGetEntryDialParamsA(const char* phonebook, RASDIALPARAMSA* params,
                                   qint32* stored) override {
        Calls << QStringLiteral("RasGetEntryDialParamsA:") + Book(phonebook);
        Ras::CopyField(params->szUserName, QByteArrayLiteral("jdupont"));
        Ras::CopyField(params->szPassword, QByteArrayLiteral("s3cret"));
        *stored = PasswordStored;
        return 0;
    }
    qint32 PasswordStored = 1;
    RASDIALPARAMSA LastStored{};
    quint32 RasSetEntryDialParamsA(const char* phonebook, RASDIALPARAMSA* params, qint32) override {
        Calls << QStringLiteral("RasSetEntryDialParamsA:") + Book(phonebook);
        LastStored = *params;
        return 0;
    }
    quint32 RasEditPhonebookEntryA(QObject*, const char* phonebook, const char*) override {
        Calls << QStringLiteral("RasEditPhonebookEntryA:") + Book(phonebook);
        return 0;
    }
    quint32 RasCreatePhonebookEntryA(QObject*, const char* phonebook) override {
        Calls << QStringLiteral("RasCreatePhonebookEntryA:") + Book(phonebook);
        return 0;
    }
    quint32 RasGetProjectionInfoA(HRASCONN, quint32, void* buffer, quint32*) override {
        auto* ip = static_cast<RASPPPIPA*>(buffer);
        Ras::CopyField(ip->szIpAddress, QByteArrayLiteral("10.0.0.2"));
        Ras::CopyField(ip->szServerIpAddress, QByteArrayLiteral("10.0.0.1"));
        return 0;
    }
    quint32 RasGetEntryPropertiesA(const char* phonebook, const char*, RASENTRYA* entry,
                                   quint32* size, void*, quint32*) override {
        Calls << QStringLiteral("RasGetEntryPropertiesA:") + Book(phonebook);
        if (*size < sizeof(RASENTRYA))
            return Ras::BufferTooSmall;
        const quint32 announced = entry->dwSize;
        std::memcpy(entry, &Entry, sizeof Entry);
        entry->dwSize = announced;
        return 0;
    }
    quint32 RasRenameEntryA(const char* phonebook, const char*, const char*) override {
        Calls << QStringLiteral("RasRenameEntryA:") + Book(phonebook);
        return 0;
    }
    quint32 RasDeleteEntryA(const char* phonebook, const char*) override {
        Calls << QStringLiteral("RasDeleteEntryA:") + Book(phonebook);
        return 0;
    }
    quint32 RasValidateEntryNameA(const char* phonebook, const char*) override {
        Calls << QStringLiteral("RasValidateEntryNameA:") + Book(phonebook);
        return 0;
    }
    bool CountersAvailable() const override { return true; }
    bool ReadCounters(HRASCONN connection, QList<LinkCounters>* counters) override {
        if (!Counters.contains(connection))
            return false;
        *counters = Counters[connection];
        return true;
    }
    bool LinkUp(const QString&) override { return LinkIsUp; }
    QString Kind() const override { return QStringLiteral("scripted"); }
};

// Installs a loader that hands out the given libraries for the life of the object.
class ScopedRasLibraries {
  public:
    explicit ScopedRasLibraries(std::shared_ptr<RasProvider> core,
                                std::shared_ptr<RasProvider> entries = {}) {
        SetRasLibraryLoader([core, entries](const QString& name) -> RasLibrary {
            if (name == QLatin1String("RASAPI32.DLL"))
                return core;
            if (name == QLatin1String("RNAPH.DLL"))
                return entries;
            return {};
        });
    }
    ~ScopedRasLibraries() { SetRasLibraryLoader({}); }
};
