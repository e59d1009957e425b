// The voice prompt of each menu as a file of the card folder.
#pragma once

#include <optional>
#include <string>

namespace quorvel {

enum class PromptState {
    Playable,
    Missing,     // no plain file of that name
    Unplayable,  // not a 16-bit mono PCM WAV
};

// The prompts are numbered 0 to 9 for the menus and 10 for the Vinheta.
inline constexpr int VinhetaPromptIndex = 10;
inline constexpr int PromptCount = 11;

// "100.wav" ... "109.wav" for the menus 0 to 9, "132.wav" for the Vinheta;
// none for any other number.
std::optional<std::string> promptFileName(int promptIndex);

// Looks at the prompt of `menu` in `folder` (which ends with a separator).
PromptState promptState(const std::string& folder, int menu);

}  // namespace quorvel
