#include "dialup/ras_binding.h"

#include "dialup/dialup_settings.h"

#include <QCoreApplication>
#include <cstring>

namespace {
RasLibraryLoader installedLoader;
int loadCount = 0;
// The libraries whose entry points are in the table now.
const RasProvider* tableCore = nullptr;
const RasProvider* tableEntries = nullptr;

RasLibrary DefaultLoader(const QString& libraryName) {
    if (libraryName.compare(QLatin1String("RASAPI32.DLL"), Qt::CaseInsensitive) == 0)
        return CreateConfiguredProvider();
    return {};
}

// Binds one entry point of the library into its slot, or leaves the slot empty.
template <typename Slot, typename Method>
void Bind(Slot& slot, const RasLibrary& library, const char* name, Method method) {
    if (!library || !library->Exports(name))
        return;
    slot = [library, method](auto... arguments) { return (library.get()->*method)(arguments...); };
}
} // namespace

void PostDialProgress(const DialNotifier& notifier, quint32 state, quint32 error) {
    if (notifier.Target)
        QCoreApplication::postEvent(notifier.Target,
                                    new DialProgressEvent(notifier.EventType, state, error));
}

RasEntryPoints& RasApi() {
    static RasEntryPoints table;
    return table;
}

RasLibrary LoadRasLibrary(const QString& libraryName) {
    ++loadCount;
    return installedLoader ? installedLoader(libraryName) : DefaultLoader(libraryName);
}

void SetRasLibraryLoader(RasLibraryLoader loader) {
    installedLoader = std::move(loader);
    loadCount = 0;
}

int RasLibraryLoadCount() {
    return loadCount;
}

RasBinding::~RasBinding() {
    Release();
}

bool RasBinding::LoadRasApi() {
    if (LoadAttempted) {
        // Another component may have bound other libraries since: bind ours again.
        if (RasLibraryHandle &&
            (tableCore != RasLibraryHandle.get() || tableEntries != EntryLibrary.get()))
            FillTable();
        return RasLibraryHandle && bool(RasApi().RasDialA);
    }
    RasApi() = RasEntryPoints();
    tableCore = tableEntries = nullptr;
    LoadAttempted = true;
    EntryFunctionsAvailable = false;

    RasLibraryHandle = LoadRasLibrary(QStringLiteral("RASAPI32.DLL"));
    if (!RasLibraryHandle)
        return false;
    EntryLibrary = RasLibraryHandle;
    if (RasLibraryHandle->Exports("RasGetCountryInfoA")) {
        EntryFunctionsAvailable = true;
    } else {
        EntryLibrary = LoadRasLibrary(QStringLiteral("RNAPH.DLL"));
        EntryFunctionsAvailable = bool(EntryLibrary);
    }
    FillTable();
    return bool(RasApi().RasDialA);
}

void RasBinding::FillTable() {
    RasEntryPoints& api = RasApi();
    api = RasEntryPoints();
    const RasLibrary& core = RasLibraryHandle;
    Bind(api.RasDialA, core, "RasDialA", &RasProvider::RasDialA);
    Bind(api.RasEnumConnectionsA, core, "RasEnumConnectionsA", &RasProvider::RasEnumConnectionsA);
    Bind(api.RasEnumEntriesA, core, "RasEnumEntriesA", &RasProvider::RasEnumEntriesA);
    Bind(api.RasGetConnectStatusA, core, "RasGetConnectStatusA",
         &RasProvider::RasGetConnectStatusA);
    Bind(api.RasGetErrorStringA, core, "RasGetErrorStringA", &RasProvider::RasGetErrorStringA);
    Bind(api.RasHangUpA, core, "RasHangUpA", &RasProvider::RasHangUpA);
    Bind(api.RasGetEntryDialParamsA, core, "RasGetEntryDialParamsA",
         &RasProvider::RasGetEntryDialParamsA);
    Bind(api.RasSetEntryDialParamsA, core, "RasSetEntryDialParamsA",
         &RasProvider::RasSetEntryDialParamsA);
    Bind(api.RasEditPhonebookEntryA, core, "RasEditPhonebookEntryA",
         &RasProvider::RasEditPhonebookEntryA);
    Bind(api.RasCreatePhonebookEntryA, core, "RasCreatePhonebookEntryA",
         &RasProvider::RasCreatePhonebookEntryA);
    Bind(api.RasGetProjectionInfoA, core, "RasGetProjectionInfoA",
         &RasProvider::RasGetProjectionInfoA);
    if (EntryFunctionsAvailable) {
        Bind(api.RasGetEntryPropertiesA, EntryLibrary, "RasGetEntryPropertiesA",
             &RasProvider::RasGetEntryPropertiesA);
        Bind(api.RasRenameEntryA, EntryLibrary, "RasRenameEntryA", &RasProvider::RasRenameEntryA);
        Bind(api.RasDeleteEntryA, EntryLibrary, "RasDeleteEntryA", &RasProvider::RasDeleteEntryA);
        Bind(api.RasValidateEntryNameA, EntryLibrary, "RasValidateEntryNameA",
             &RasProvider::RasValidateEntryNameA);
    }
    tableCore = RasLibraryHandle.get();
    tableEntries = EntryLibrary.get();
}

void RasBinding::Release() {
    // Empty the table when it points into these libraries, so they really go away.
    if (RasLibraryHandle && tableCore == RasLibraryHandle.get()) {
        RasApi() = RasEntryPoints();
        tableCore = tableEntries = nullptr;
    }
    if (EntryLibrary && EntryLibrary != RasLibraryHandle)
        EntryLibrary.reset();
    EntryLibrary.reset();
    RasLibraryHandle.reset();
}
