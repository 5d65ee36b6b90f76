#pragma once

// Filling the caller's records the way the service does, shared by the providers: a list
// that does not fit says how large the buffer must be. The providers check the caller's
// pointers before they gather a list, so the list fillers take them as valid.

#include "dialup/ras_records.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace Ras {
// A name the caller passed, "" for a null pointer.
QString NameOf(const char* text);

// Copies the entry names into the caller's records. When they do not all fit nothing is
// copied: BufferTooSmall, with the size needed in *size.
quint32 FillEntryNames(const QStringList& names, RASENTRYNAMEA* entries, quint32* size,
                       quint32* count);

// One active connection as the caller sees it.
struct ConnectionListing {
    HRASCONN Handle = 0;
    QString Name;
};

// Copies as many connections as fit, all on the same modem device. When some do not fit:
// BufferTooSmall, with the size needed in *size.
quint32 FillConnections(const QList<ConnectionListing>& listed, const QByteArray& deviceName,
                        RASCONNA* connections, quint32* size, quint32* count);

// Success when the caller's entry record is large enough, else BufferTooSmall with the size
// needed in *entrySize.
quint32 CheckEntryRecord(const RASENTRYA* record, quint32* entrySize);

// The device name, then the port as a second string of the same field, cut to fit.
void SetDeviceNameAndPort(RASENTRYA* record, const QByteArray& device, const QByteArray& port);
} // namespace Ras
