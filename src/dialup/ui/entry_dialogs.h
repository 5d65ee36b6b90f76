#pragma once

// The providers' own entry dialogs (properties of an entry, new entry), opened by the
// component's EditEntry and CreateEntry.

#include "dialup/entry_dialog_hook.h"

// Installs the dialogs as the component's entry dialog hook.
void InstallEntryDialogs();
// Shows the dialog of the request's provider; 0 once it is closed.
quint32 ShowProviderEntryDialog(const EntryDialogRequest& request);
