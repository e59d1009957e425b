// Playback of the voice prompts. The window plays through this so that tests
// can see which file was asked for, without a sound device.
#pragma once

#include <QString>

namespace quorvel {

class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;

    // Starts playing the WAV file at `path` and returns at once, cutting off
    // any sound still playing. A file that is missing or cannot be played
    // gives the desktop's beep instead.
    virtual void play(const QString& path) = 0;
    // Stops whatever is playing.
    virtual void stop() = 0;
};

}  // namespace quorvel
