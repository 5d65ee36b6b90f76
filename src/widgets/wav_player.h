#pragma once

#include <QObject>
#include <QString>

class QSoundEffect;

enum class TSoundType {
    stAsynchronous, // starts the sound and returns at once
    stSynchronous,  // returns when the sound has ended
    stLoop,         // asynchronous, repeats until another sound is played
    stAsyncNoInt,   // asynchronous, does not interrupt a sound already playing
    stSyncNoInt,    // synchronous, does not interrupt a sound already playing
    stLoopNoInt     // asynchronous and repeating, does not interrupt a sound already playing
};

// Plays a WAV file through the desktop's sound output, or sounds the system beep.
class TWAVPlayer : public QObject {
    Q_OBJECT
  public:
    explicit TWAVPlayer(QObject* parent = nullptr);

    QString FileName; // the WAV file to play; empty when none
    TSoundType SoundType = TSoundType::stAsynchronous;

    // At least one audio output exists. Looked for when first asked (the sound system and its
    // libraries are loaded then, not at start-up) and at each later asking until one is found
    // (a sound server started after the program counts), then always true.
    bool WAVCapable();

    // Plays FileName, or beeps when it is not a sound Qt can decode; false when there is no
    // output, no file name or no such file.
    bool Play();
    void Stop();
    bool IsPlaying() const;
    // The system's default beep.
    void Beep();

  signals:
    void PlaybackStarted(const QString& fileName);
    void Beeped();

  private:
    QSoundEffect* effect = nullptr;
    bool capable = false;
    bool beepIfUndecodable = false; // a play asked while the file loads
};
