#pragma once

// What every fuzz target shares: a private folder for the files it reads and writes, the
// input cut into parts, and the failure that stops the fuzzer when a write-back does not
// read back the same.

#include <QByteArray>
#include <QList>
#include <QString>
#include <cstddef>
#include <cstdint>

QByteArray InputBytes(const uint8_t* data, size_t size);
// The input cut at NUL bytes into exactly `count` parts (the last one takes the rest).
QList<QByteArray> InputParts(const uint8_t* data, size_t size, int count);

// A folder of this process, emptied at each call.
QString FreshFolder();
void WriteInputFile(const QString& fileName, const QByteArray& bytes);

// Prints what did not come back and aborts, so that libFuzzer keeps the input.
[[noreturn]] void RoundTripFailure(const char* what, const QString& written,
                                   const QString& readBack);
