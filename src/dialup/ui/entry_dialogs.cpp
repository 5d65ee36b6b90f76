#include "dialup/ui/entry_dialogs.h"

#include "dialup/ras_records.h"
#include "dialup/ui/pppd_entry_dialog.h"
#include "dialup/ui/simulation_entry_dialog.h"

#include <QWidget>

void InstallEntryDialogs() {
    SetEntryDialogHook(&ShowProviderEntryDialog);
}

quint32 ShowProviderEntryDialog(const EntryDialogRequest& request) {
    QWidget* owner = qobject_cast<QWidget*>(request.Owner);
    if (request.ProviderKind == QLatin1String("pppd")) {
        TPppdEntryDialog dialog(request.PhonebookFolder, request.EntryName, owner);
        dialog.exec();
        return Ras::Success;
    }
    if (request.ProviderKind == QLatin1String("simulation")) {
        TSimulationEntryDialog dialog(request.PhonebookFolder, request.EntryName, owner);
        dialog.exec();
        return Ras::Success;
    }
    return Ras::Unavailable;
}
