#pragma once

#include "config/FileSystem.h"
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

// Levels, in place, a prompt the device plays: one pass measures the
// samples as they are, a second writes them scaled. The figures of the
// result follow from the measure, since levelling never clips: the peak and
// every column's extremes are the levelled extremes, and the speech level
// moves by the gain. Raises std::runtime_error with the reason when the
// file is not such a prompt or cannot be read or written.
TPromptSummary LevelPromptFile(const std::string& Path, TLevelMode Mode, int WaveformColumns = 400,
                               FileSystem& Files = realFileSystem());

}  // namespace quorvel
