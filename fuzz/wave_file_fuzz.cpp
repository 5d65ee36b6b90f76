// The alarm sound's header check, as the sound chooser and the player run it on any file the
// user picks: any bytes give an answer without reading past the file.
#include "base/wave_file.h"

#include <QBuffer>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer file(&bytes);
    file.open(QIODevice::ReadOnly);
    WaveChunksFitTheFile(file);
    return 0;
}
