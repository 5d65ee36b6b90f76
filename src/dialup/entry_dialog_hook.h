#pragma once

// The entry dialogs are windows, the component is not: the window layer installs a hook at
// start-up, and a provider's RasEditPhonebookEntryA / RasCreatePhonebookEntryA go through it.

#include <QObject>
#include <QString>
#include <functional>

struct EntryDialogRequest {
    QString ProviderKind; // "pppd", "simulation", ...
    QObject* Owner = nullptr;
    QString PhonebookFolder; // the provider's phonebook (folder or file)
    QString EntryName;       // empty: a new entry
};

// Returns 0 once the dialog is closed, or an error code.
using EntryDialogHook = std::function<quint32(const EntryDialogRequest&)>;
void SetEntryDialogHook(EntryDialogHook hook);
// 1157 when no dialog is installed (a program without windows).
quint32 ShowEntryDialog(const EntryDialogRequest& request);
