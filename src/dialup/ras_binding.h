#pragma once

// The binding to the dial-up service: a process-wide table of entry points, filled at run
// time from the libraries a provider loader supplies ("RASAPI32.DLL" for the core group,
// "RNAPH.DLL" for the entry-management group when the first has no "RasGetCountryInfoA").

#include "dialup/ras_provider.h"

#include <functional>
#include <memory>

using RasLibrary = std::shared_ptr<RasProvider>;

struct RasEntryPoints {
    // Core group, looked up in this order.
    std::function<quint32(void*, const char*, RASDIALPARAMSA*, const DialNotifier&, HRASCONN*)>
        RasDialA;
    std::function<quint32(RASCONNA*, quint32*, quint32*)> RasEnumConnectionsA;
    std::function<quint32(const char*, const char*, RASENTRYNAMEA*, quint32*, quint32*)>
        RasEnumEntriesA;
    std::function<quint32(HRASCONN, RASCONNSTATUSA*)> RasGetConnectStatusA;
    std::function<quint32(quint32, char*, quint32)> RasGetErrorStringA;
    std::function<quint32(HRASCONN)> RasHangUpA;
    std::function<quint32(const char*, RASDIALPARAMSA*, qint32*)> RasGetEntryDialParamsA;
    std::function<quint32(const char*, RASDIALPARAMSA*, qint32)> RasSetEntryDialParamsA;
    std::function<quint32(QObject*, const char*, const char*)> RasEditPhonebookEntryA;
    std::function<quint32(QObject*, const char*)> RasCreatePhonebookEntryA;
    std::function<quint32(HRASCONN, quint32, void*, quint32*)> RasGetProjectionInfoA;
    // Entry-management group, looked up in this order.
    std::function<quint32(const char*, const char*, RASENTRYA*, quint32*, void*, quint32*)>
        RasGetEntryPropertiesA;
    std::function<quint32(const char*, const char*, const char*)> RasRenameEntryA;
    std::function<quint32(const char*, const char*)> RasDeleteEntryA;
    std::function<quint32(const char*, const char*)> RasValidateEntryNameA;
};

// The one table of the process.
RasEntryPoints& RasApi();

// Loads a library by name; an empty result means it cannot be loaded. The default loader
// answers "RASAPI32.DLL" with the provider chosen in the settings and has no "RNAPH.DLL".
using RasLibraryLoader = std::function<RasLibrary(const QString& libraryName)>;
RasLibrary LoadRasLibrary(const QString& libraryName);
// Tests install a loader of their own; an empty one restores the default. How many
// libraries were asked for since (for tests).
void SetRasLibraryLoader(RasLibraryLoader loader);
int RasLibraryLoadCount();

// The binding state each component holds: the libraries, the load flags.
class RasBinding {
  public:
    ~RasBinding();
    // Loads on the first call; returns whether RasDialA is in the table.
    bool LoadRasApi();
    // Releases the libraries (second library first).
    void Release();

    RasLibrary RasLibraryHandle;
    RasLibrary EntryLibrary;
    bool LoadAttempted = false;
    bool EntryFunctionsAvailable = false;
    // The provider behind the core group, for what lies beyond the entry points.
    RasProvider* Provider() const { return RasLibraryHandle.get(); }

  private:
    void FillTable();
};
