#pragma once

#include "base/result.h"
#include <QString>

// A tariff file fetched from the server replaces the user's only after it proved to be one:
// it is received under a temporary name beside the tariff file, checked, then written over
// the old file in one safe step. Anything else leaves the old file as it was.
namespace ReceivedTariffFile {
constexpr qint64 MaxSize = 1024 * 1024;

enum class Verdict {
    Accepted,
    Interrupted,   // the transfer did not end normally
    Empty,         // no byte received
    TooLarge,      // more than MaxSize bytes
    NotTariffFile, // not text, a row without its ten fields, a price that is not a number
    NotWritten,    // received, but it could not be written here (a full disk)
};

// Whether the file holds at least one tariff and every row holds its ten fields, each
// number readable, and nothing else.
Verdict Check(const QString& fileName);
// "Le fichier reçu a été refusé : ..." for a refused file.
QString RefusalText(Verdict verdict);
// Writes the received file's bytes over the tariff file through the safe-write helper and
// removes the received file. A failure carries the reason in French.
Result Install(const QString& receivedFileName, const QString& tariffFileName);
} // namespace ReceivedTariffFile
