// What the card holds as each prompt: its state and, for a prompt that can be
// read, the figures the prompt overview, the report and `ajustor-card
// prompts` show. Measuring reads the whole file once; nothing is written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace quorvel {

enum class PromptSurveyState {
    Ok,          // a 16-bit mono PCM WAV: the device plays it
    Absent,      // no plain file of that name
    Unplayable,  // a file the device cannot play; `problem` says why
};

struct PromptSurvey {
    int promptIndex = 0;     // 0..9 for the menus, 10 for the Vinheta
    std::string promptName;  // "100.wav" ... "109.wav", "132.wav"
    PromptSurveyState state = PromptSurveyState::Absent;
    // Why an unplayable prompt cannot be played, as the window shows it:
    // "não é WAV", "não é PCM", "não é 16 bits", "não é mono". Empty otherwise.
    std::string problem;
    // Figures of a file the WAV reader could read (also an unplayable one,
    // e.g. stereo or 8-bit); none for an absent file or one that is not a WAV.
    std::optional<double> seconds;
    std::optional<int> sampleRate;
    std::optional<int> peak;                // largest absolute sample on the 16-bit scale, 0..32768
    std::optional<double> speechLevelDbm0;  // active speech level; none when nothing is active
    // The smallest and largest sample (16-bit scale) of each of `columns`
    // equal stretches of the recording; empty when there are no samples.
    std::vector<std::pair<std::int16_t, std::int16_t>> waveform;
};

// Measures the prompt `promptIndex` of `folder` (which ends with a separator).
PromptSurvey surveyPrompt(const std::string& folder, int promptIndex, std::size_t columns = 256);

}  // namespace quorvel
