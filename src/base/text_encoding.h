#pragma once

#include <QByteArray>
#include <QString>

// Files are written in UTF-8 without byte-order mark. A file that is not valid UTF-8 was made
// on the original platform and is read as Windows-1252, so that its accents survive.
QString DecodeFileText(const QByteArray& bytes);
QByteArray EncodeFileText(const QString& text);
bool IsValidUtf8(const QByteArray& bytes);
QString DecodeWindows1252(const QByteArray& bytes);
