#include "shell/QtSoundPlayer.h"

#include <QFileInfo>
#include <QUrl>

namespace quorvel {

QtSoundPlayer::QtSoundPlayer(std::function<void()> beep) : beep_(std::move(beep)) {
    // Loading is asynchronous: the prompt plays, or beeps, once it is loaded.
    QObject::connect(&effect_, &QSoundEffect::statusChanged, &effect_, [this] {
        if (!wanted_) return;
        if (effect_.status() == QSoundEffect::Ready) effect_.play();
        if (effect_.status() == QSoundEffect::Error) beep_();
    });
}

void QtSoundPlayer::play(const QString& path) {
    effect_.stop();
    wanted_ = true;
    if (!QFileInfo(path).isFile()) {
        effect_.setSource(QUrl());
        beep_();
        return;
    }
    const QUrl source = QUrl::fromLocalFile(path);
    if (effect_.source() == source) {
        // The same prompt again: reload it, it may have been converted meanwhile.
        effect_.setSource(QUrl());
    }
    effect_.setSource(source);
}

void QtSoundPlayer::stop() {
    wanted_ = false;
    effect_.stop();
}

}  // namespace quorvel
