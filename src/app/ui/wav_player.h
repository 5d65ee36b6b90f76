#pragma once

#include <QObject>
#include <QString>

class QSoundEffect;

enum class TSoundType {
    stAsynchronous,
    stSynchronous,
    stLoop,
    stAsyncNoInt,
    stSyncNoInt,
    stLoopNoInt
};

// Plays a WAV file through the desktop's sound output.
class TWAVPlayer : public QObject {
    Q_OBJECT
  public:
    explicit TWAVPlayer(QObject* parent = nullptr);

    QString FileName;
    TSoundType SoundType = TSoundType::stAsynchronous;
    bool WAVCapable() const { return capable; }
    // Looks for an audio output again; the answer only ever turns true.
    void RefreshCapability();
    // Starts the sound; false when nothing can be played (no output or no file).
    bool Play();
    bool IsPlaying() const;

  private:
    QSoundEffect* effect = nullptr;
    bool capable = false;
};
