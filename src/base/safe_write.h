#pragma once

#include "base/result.h"
#include <QByteArray>
#include <QString>
#include <functional>

// Writes a whole file safely: into a temporary file of the same folder, flushed to disk,
// then renamed over the old one. A crash or a full disk leaves the old file as it was.
// A failure carries the reason in French.
Result WriteFileSafely(const QString& fileName, const QByteArray& contents);

// The same for contents made in pieces, so that a large file is never whole in memory:
// `makeContents` hands each piece in order to the writer it is given, which returns false
// once writing has failed (the rest may then be skipped).
using PieceWriter = std::function<bool(const char* data, qint64 size)>;
Result WriteFileSafely(const QString& fileName,
                       const std::function<void(const PieceWriter&)>& makeContents);

// Whether the file could be written there now (its folder exists and takes a new file),
// before a long piece of work that ends by writing it. Nothing is left behind.
Result CheckFileCanBeWritten(const QString& fileName);

// The same for a file that holds passwords: readable by its owner only (mode 0600) from
// before its first byte, whatever the mode of the file it replaces.
Result WritePrivateFileSafely(const QString& fileName, const QByteArray& contents);
