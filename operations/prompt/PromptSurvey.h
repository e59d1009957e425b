// What the card holds as each prompt: its state and, for a prompt that can be
// read, the figures the prompt overview, the report and `ajustor-card
// prompts` show. Measuring reads the whole file once; nothing is written.
#pragma once

#include "config/FileSystem.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace quorvel {

enum class PromptSurveyState {
    Ok,          // the device plays it
    Absent,      // nothing of that name
    Unplayable,  // a folder, or a file the device cannot play; `problem` says why
};

struct PromptSurvey {
    int promptIndex = 0;     // 0..9 for the menus, 10 for the Vinheta
    std::string promptName;  // "100.wav" ... "109.wav", "132.wav"
    PromptSurveyState state = PromptSurveyState::Absent;
    // Why an unplayable prompt cannot be played, as the window shows it
    // ("não é mono", "bytes antes do cabeçalho", ...). Empty otherwise.
    std::string problem;
    // Figures of the samples the file holds, also of an unplayable file the
    // WAV reader can read (stereo, 8-bit, cut short); none for an absent
    // file or one that is not a WAV.
    std::optional<double> seconds;
    std::optional<int> sampleRate;
    std::optional<int> peak;                // largest absolute sample on the 16-bit scale, 0..32768
    std::optional<double> speechLevelDbm0;  // active speech level; none when nothing is active
    // The smallest and largest sample (16-bit scale) of each of `columns`
    // equal stretches of the recording; empty when there are no samples.
    std::vector<std::pair<std::int16_t, std::int16_t>> waveform;
};

// Measures the prompt `promptIndex` of `folder` (which ends with a separator).
PromptSurvey surveyPrompt(const std::string& folder, int promptIndex, std::size_t columns = 256,
                          FileSystem& files = realFileSystem());

}  // namespace quorvel
