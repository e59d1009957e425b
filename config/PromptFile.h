// The voice prompt of each menu as a file of the card folder.
#pragma once

#include <string>

namespace quorvel {

enum class PromptState {
    Playable,
    Missing,     // no plain file of that name
    Unplayable,  // not a 16-bit mono PCM WAV
};

// "100.wav" for menu 0 ... "109.wav" for menu 9.
std::string promptFileName(int menu);

// Looks at the prompt of `menu` in `folder` (which ends with a separator).
PromptState promptState(const std::string& folder, int menu);

}  // namespace quorvel
