#pragma once

#include "base/result.h"
#include <QByteArray>
#include <QString>

// Writes a whole file safely: into a temporary file of the same folder, flushed to disk,
// then renamed over the old one. A crash or a full disk leaves the old file as it was.
// A failure carries the reason in French.
Result WriteFileSafely(const QString& fileName, const QByteArray& contents);

// The same for a file that holds passwords: created readable by its owner only (mode 0600)
// and brought back to that mode if it was opened wider.
Result WritePrivateFileSafely(const QString& fileName, const QByteArray& contents);
