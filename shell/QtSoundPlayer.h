// Prompt playback through Qt Multimedia.
#pragma once

#include <QSoundEffect>
#include <functional>

#include "shell/SoundPlayer.h"

namespace quorvel {

class QtSoundPlayer final : public SoundPlayer {
public:
    // `beep` sounds when a file cannot be played.
    explicit QtSoundPlayer(std::function<void()> beep);

    void play(const QString& path) override;
    void stop() override;

private:
    std::function<void()> beep_;
    QSoundEffect effect_;
    bool wanted_ = false;  // a stop while the prompt loads cancels it
};

}  // namespace quorvel
