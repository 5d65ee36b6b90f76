// The pppd options file of an entry (peers/NAME) and its chat script: any content is read
// without harm; an entry edited in place reads back with its new values, and an entry read
// from them is written in pppconfig's format and read back the same.
// Input: the options file, a NUL, the chat script.
#include "dialup/pppd_phonebook.h"
#include "fuzz_support.h"

#include <QDir>

namespace {
QString EntryText(const PppdEntry& entry) {
    return QStringList{entry.Name,   entry.DialCommand, entry.PhoneNumber,
                       entry.Device, entry.Speed,       entry.UserName}
        .join(QLatin1Char('|'));
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QList<QByteArray> parts = InputParts(data, size, 2);
    const QString folder = FreshFolder();
    QDir(folder).mkpath(QStringLiteral("ppp/peers"));
    QDir(folder).mkpath(QStringLiteral("chatscripts"));
    PppdPhonebook book(folder + QStringLiteral("/ppp"));
    const QString name = QStringLiteral("fournisseur");
    WriteInputFile(book.PeerFile(name), parts[0]);
    WriteInputFile(book.ChatFile(name), parts[1]);

    PppdEntry entry;
    if (!book.Read(name, &entry))
        return 0;
    PppdEntry edited = entry;
    edited.PhoneNumber = QStringLiteral("01 45*70");
    edited.Device = QStringLiteral("/dev/ttyUSB0");
    edited.Speed = QStringLiteral("57600");
    edited.UserName = QStringLiteral("jean \"le\" d");
    if (book.Update(entry, edited)) {
        PppdEntry reread;
        if (!book.Read(name, &reread) || EntryText(reread) != EntryText(edited))
            RoundTripFailure("pppd entry edited in place", EntryText(edited), EntryText(reread));
    }
    if (!book.Write(entry))
        return 0; // refused with a reason: nothing written
    PppdEntry again;
    if (!book.Read(name, &again))
        RoundTripFailure("pppd entry unreadable after its write", EntryText(entry), {});
    if (EntryText(entry) != EntryText(again))
        RoundTripFailure("pppd entry", EntryText(entry), EntryText(again));
    return 0;
}
