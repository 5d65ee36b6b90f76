// The pppd secrets files: any content is read without harm, and a password read from them
// is stored again and read back the same, the files staying readable.
// Input: pap-secrets, a NUL, chap-secrets. The user and server looked up are the first two
// words of pap-secrets' first line.
#include "dialup/pppd_dial_tracker.h"
#include "dialup/pppd_phonebook.h"
#include "fuzz_support.h"

#include <QDir>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QList<QByteArray> parts = InputParts(data, size, 2);
    const QString folder = FreshFolder();
    QDir(folder).mkpath(QStringLiteral("ppp/peers"));
    PppdPhonebook book(folder + QStringLiteral("/ppp"));
    WriteInputFile(book.PapSecrets(), parts[0]);
    WriteInputFile(book.ChapSecrets(), parts[1]);

    const QStringList words = SplitWords(parts[0].split('\n').first(), false);
    const QString user = words.value(0);
    const QString server = words.value(1, QStringLiteral("*"));
    QString password;
    if (!book.Password(user, server, &password))
        return 0;
    if (!book.StorePassword(user, server, password))
        return 0; // refused with a reason
    QString again;
    book.Password(user, server, &again);
    if (again != password)
        RoundTripFailure("pppd secret", password, again);

    // A new password replaces the old one.
    const QString changed = password + QStringLiteral("-2 \"é\\");
    if (book.StorePassword(user, server, changed)) {
        book.Password(user, server, &again);
        if (again != changed)
            RoundTripFailure("pppd secret changed", changed, again);
    }
    return 0;
}
