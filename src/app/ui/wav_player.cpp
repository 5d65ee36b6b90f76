#include "app/ui/wav_player.h"

#include <QAudioDevice>
#include <QFileInfo>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

TWAVPlayer::TWAVPlayer(QObject* parent) : QObject(parent) {
    RefreshCapability();
}

void TWAVPlayer::RefreshCapability() {
    if (!capable)
        capable = !QMediaDevices::audioOutputs().isEmpty();
}

bool TWAVPlayer::Play() {
    if (!capable || FileName.isEmpty() || !QFileInfo::exists(FileName))
        return false;
    if (!effect)
        effect = new QSoundEffect(this);
    effect->setSource(QUrl::fromLocalFile(FileName));
    effect->play();
    return true;
}

bool TWAVPlayer::IsPlaying() const {
    return effect && effect->isPlaying();
}
