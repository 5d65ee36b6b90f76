#include "dialup/ras_fill.h"

#include <cstring>

namespace Ras {
QString NameOf(const char* text) {
    return QString::fromUtf8(text ? text : "");
}

quint32 FillEntryNames(const QStringList& names, RASENTRYNAMEA* entries, quint32* size,
                       quint32* count) {
    const quint32 capacity = *size / sizeof(RASENTRYNAMEA);
    *count = quint32(names.size());
    if (*count > capacity) {
        *size = *count * sizeof(RASENTRYNAMEA);
        return BufferTooSmall;
    }
    for (quint32 i = 0; i < *count; ++i) {
        entries[i].dwSize = sizeof(RASENTRYNAMEA);
        CopyField(entries[i].szEntryName, names[int(i)].toUtf8());
    }
    return Success;
}

quint32 FillConnections(const QList<ConnectionListing>& listed, const QByteArray& deviceName,
                        RASCONNA* connections, quint32* size, quint32* count) {
    const quint32 capacity = *size / sizeof(RASCONNA);
    *count = quint32(listed.size());
    for (quint32 i = 0; i < *count && i < capacity; ++i) {
        RASCONNA& record = connections[i];
        std::memset(&record, 0, sizeof record);
        record.dwSize = sizeof record;
        record.hrasconn = listed[int(i)].Handle;
        CopyField(record.szEntryName, listed[int(i)].Name.toUtf8());
        CopyField(record.szDeviceType, QByteArrayLiteral("modem"));
        CopyField(record.szDeviceName, deviceName);
    }
    if (*count > capacity) {
        *size = *count * sizeof(RASCONNA);
        return BufferTooSmall;
    }
    return Success;
}

quint32 CheckEntryRecord(const RASENTRYA* record, quint32* entrySize) {
    if (!record || !entrySize)
        return UnknownError;
    if (*entrySize < sizeof(RASENTRYA)) {
        *entrySize = sizeof(RASENTRYA);
        return BufferTooSmall;
    }
    return Success;
}

void SetDeviceNameAndPort(RASENTRYA* record, const QByteArray& device, const QByteArray& port) {
    CopyField(record->szDeviceName, device);
    const int used = int(qstrlen(record->szDeviceName)) + 1;
    // A device name that fills the field leaves no room for the port.
    if (used >= int(sizeof record->szDeviceName) - 1)
        return;
    const QByteArray cut = port.left(int(sizeof record->szDeviceName) - used - 1);
    std::memcpy(record->szDeviceName + used, cut.constData(), std::size_t(cut.size()));
}
} // namespace Ras
