#pragma once

#include "operations/levelling/Levelling.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace quorvel {

// What a prompt holds once levelled, for the summary and the picture.
struct TPromptSummary {
    int SampleRate = 0;
    int Channels = 0;
    std::int64_t Frames = 0;
    int PeakBefore = 0;
    int PeakAfter = 0;
    double Gain = 1.0;
    std::optional<double> SpeechLevelDbm0;  // of the levelled samples; none for silence
    bool TargetReached = true;
    // Smallest and largest sample per column, over the whole prompt.
    std::vector<std::pair<std::int16_t, std::int16_t>> Waveform;
};

// Levels, in place, a 16-bit PCM WAV written by the converter (the plain
// 44-byte header): one pass measures, a second scales and describes the
// result. Raises std::runtime_error with the reason when the file is not
// such a WAV or cannot be read or written.
TPromptSummary LevelPromptFile(const std::string& Path, TLevelMode Mode, int WaveformColumns = 400);

}  // namespace quorvel
