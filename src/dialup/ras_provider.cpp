#include "dialup/ras_provider.h"

#include "dialup/entry_dialog_hook.h"
#include "dialup/error_texts.h"
#include "dialup/ras_fill.h"

#include <cstring>

namespace {
// Built on first use: the window layer installs the hook while static objects are still
// being built, possibly before this file's own.
EntryDialogHook& InstalledHook() {
    static EntryDialogHook hook;
    return hook;
}
} // namespace

void SetEntryDialogHook(EntryDialogHook hook) {
    InstalledHook() = std::move(hook);
}

quint32 ShowEntryDialog(const EntryDialogRequest& request) {
    const EntryDialogHook& hook = InstalledHook();
    return hook ? hook(request) : quint32(Ras::Unavailable);
}

bool RasProvider::Exports(const char*) const {
    return true;
}

quint32 RasProvider::RasGetErrorStringA(quint32 code, char* text, quint32 size) {
    if (!text || size == 0)
        return Ras::BufferTooSmall;
    const QByteArray description = RasErrorDescription(int(code)).toUtf8();
    text[0] = '\0';
    if (description.isEmpty())
        return Ras::Success;
    int length = qMin<int>(description.size(), int(size) - 1);
    while (length > 0 && length < description.size() && (uchar(description[length]) & 0xC0) == 0x80)
        --length;
    std::memcpy(text, description.constData(), std::size_t(length));
    text[length] = '\0';
    return Ras::Success;
}

quint32 RasProvider::OpenEntryDialog(QObject* owner, const QString& phonebook,
                                     const QString& entryName) const {
    EntryDialogRequest request;
    request.ProviderKind = Kind();
    request.Owner = owner;
    request.PhonebookFolder = phonebook;
    request.EntryName = entryName;
    return ShowEntryDialog(request);
}

quint32 RasProvider::RasEditPhonebookEntryA(QObject* owner, const char*, const char* entryName) {
    return OpenEntryDialog(owner, {}, Ras::NameOf(entryName));
}

quint32 RasProvider::RasCreatePhonebookEntryA(QObject* owner, const char*) {
    return OpenEntryDialog(owner, {});
}

bool RasProvider::ReadCounters(HRASCONN, QList<LinkCounters>*) {
    return false;
}

bool RasProvider::LinkUp(const QString&) {
    return false;
}
