#include "widgets/wav_player.h"

#include "base/regular_file.h"
#include "base/wave_file.h"

#include <QApplication>
#include <QAudioDevice>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

namespace {
// A synchronous sound never waits longer than this, whatever the output does.
constexpr int longestSynchronousWaitMs = 60000;
} // namespace

TWAVPlayer::TWAVPlayer(QObject* parent) : QObject(parent) {}

bool TWAVPlayer::WAVCapable() {
    if (!capable)
        capable = !QMediaDevices::audioOutputs().isEmpty();
    return capable;
}

bool TWAVPlayer::Play() {
    if (!WAVCapable() || FileName.isEmpty() || !QFileInfo::exists(FileName))
        return false;
    const bool noInterrupt = SoundType == TSoundType::stAsyncNoInt ||
                             SoundType == TSoundType::stSyncNoInt ||
                             SoundType == TSoundType::stLoopNoInt;
    if (noInterrupt && IsPlaying())
        return false;
    if (!effect) {
        effect = new QSoundEffect(this);
        // A file Qt cannot decode (24-bit, ADPCM, not a sound at all) would leave the alarm
        // silent: the beep sounds instead.
        connect(effect, &QSoundEffect::statusChanged, this, [this] {
            if (effect->status() == QSoundEffect::Error && beepIfUndecodable)
                Beep();
            if (effect->status() != QSoundEffect::Loading)
                beepIfUndecodable = false;
        });
    }
    effect->stop();
    // Qt keeps decoded sounds by address: a sound chosen again under the same file name gets
    // an address of its own (the query is ignored when the file is read), or the former sound
    // would keep playing until the next start.
    const QFileInfo file(FileName);
    QUrl source = QUrl::fromLocalFile(file.absoluteFilePath());
    source.setQuery(QStringLiteral("version=%1-%2")
                        .arg(file.lastModified().toMSecsSinceEpoch())
                        .arg(file.size()));
    if (effect->source() != source) {
        // A file whose chunks run past its end is never handed to Qt, which would wait for it
        // and then for ever at the next change of sound: it beeps, as an undecodable one.
        QFile wave(file.absoluteFilePath());
        if (!OpenRegularFile(wave) || !WaveChunksFitTheFile(wave)) {
            Beep();
            return true;
        }
        effect->setSource(source);
    }
    const bool loop = SoundType == TSoundType::stLoop || SoundType == TSoundType::stLoopNoInt;
    effect->setLoopCount(loop ? QSoundEffect::Infinite : 1);
    if (effect->status() == QSoundEffect::Error) { // the same undecodable file again
        Beep();
        return true;
    }
    beepIfUndecodable = effect->status() == QSoundEffect::Loading;
    effect->play();
    emit PlaybackStarted(FileName);

    const bool synchronous =
        SoundType == TSoundType::stSynchronous || SoundType == TSoundType::stSyncNoInt;
    if (synchronous) {
        // The sound loads and plays on the event loop: wait for its end while dispatching.
        const QDeadlineTimer deadline(longestSynchronousWaitMs);
        bool started = false;
        while (!deadline.hasExpired() && effect->status() != QSoundEffect::Error) {
            if (effect->isPlaying())
                started = true;
            else if (started)
                break;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        }
    }
    return true;
}

void TWAVPlayer::Stop() {
    if (effect)
        effect->stop();
}

bool TWAVPlayer::IsPlaying() const {
    return effect && (effect->isPlaying() || effect->status() == QSoundEffect::Loading);
}

void TWAVPlayer::Beep() {
    QApplication::beep();
    emit Beeped();
}
