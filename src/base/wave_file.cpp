#include "base/wave_file.h"

#include <QIODevice>
#include <QtEndian>

namespace {
constexpr qint64 chunkHeaderSize = 8;
constexpr quint32 smallestFormatSize = 16;
} // namespace

bool WaveChunksFitTheFile(QIODevice& file) {
    if (!file.seek(0))
        return false;
    const QByteArray riff = file.read(12);
    if (riff.size() != 12 || !riff.startsWith("RIFF") || riff.mid(8, 4) != "WAVE")
        return false;
    const qint64 fileSize = file.size();
    qint64 offset = 12;
    bool formatSeen = false;
    while (offset + chunkHeaderSize <= fileSize) {
        if (!file.seek(offset))
            return false;
        const QByteArray header = file.read(chunkHeaderSize);
        if (header.size() != chunkHeaderSize)
            return false;
        const QByteArray id = header.left(4);
        const quint32 size = qFromLittleEndian<quint32>(header.constData() + 4);
        if (id == "data")
            return formatSeen;
        if (offset + chunkHeaderSize + size > fileSize)
            return false;
        if (id == "fmt ") {
            if (size < smallestFormatSize)
                return false;
            formatSeen = true;
        }
        offset += chunkHeaderSize + size + (size & 1); // chunks start on even offsets
    }
    return false;
}
