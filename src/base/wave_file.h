#pragma once

class QIODevice;

// The file is a RIFF WAVE whose chunks before the sound data all end within the file, a
// format chunk among them. Qt's decoder waits for the end of a chunk that runs past the end
// of the file, and never gives the file up: the next sound then waits for it for ever.
// The sound data itself may be cut short. Reads from the device's start.
bool WaveChunksFitTheFile(QIODevice& file);
