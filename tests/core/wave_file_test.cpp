// Which WAV files may be handed to Qt's decoder without it waiting for ever.

#include "base/wave_file.h"

#include <QBuffer>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {
QByteArray Chunk(const char* id, quint32 declaredSize, int bytes) {
    QByteArray chunk(id, 4);
    char size[4];
    qToLittleEndian(declaredSize, size);
    return chunk + QByteArray(size, 4) + QByteArray(bytes, '\x01');
}

bool Fits(const QByteArray& chunks) {
    QByteArray file = "RIFF" + QByteArray(4, '\0') + "WAVE" + chunks;
    QBuffer buffer(&file);
    buffer.open(QIODevice::ReadOnly);
    return WaveChunksFitTheFile(buffer);
}
} // namespace

TEST(WaveFile, ChunksBeforeTheSoundMustEndWithinTheFile) {
    EXPECT_TRUE(Fits(Chunk("fmt ", 16, 16) + Chunk("data", 800, 800)));
    EXPECT_TRUE(Fits(Chunk("fmt ", 16, 16) + Chunk("data", 0xFFFFFFFF, 100))); // cut short
    EXPECT_TRUE(Fits(Chunk("LIST", 3, 4) + Chunk("fmt ", 18, 18) + Chunk("data", 2, 2))); // pad
    EXPECT_FALSE(Fits(Chunk("fmt ", 0xFFFFFFF0, 16) + Chunk("data", 800, 800)));
    EXPECT_FALSE(Fits(Chunk("LIST", 5000, 10) + Chunk("fmt ", 16, 16) + Chunk("data", 8, 8)));
    EXPECT_FALSE(Fits(Chunk("fmt ", 4, 4) + Chunk("data", 8, 8)));
    EXPECT_FALSE(Fits(Chunk("data", 8, 8)));   // no format
    EXPECT_FALSE(Fits(Chunk("fmt ", 16, 16))); // no sound
    QByteArray notRiff = "RIFX" + QByteArray(8, '\0');
    QBuffer buffer(&notRiff);
    buffer.open(QIODevice::ReadOnly);
    EXPECT_FALSE(WaveChunksFitTheFile(buffer));
}
