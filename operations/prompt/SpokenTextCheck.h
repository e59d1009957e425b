// Which typed texts may be spoken: the one place that reads the raw bytes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quorvel {

inline constexpr std::size_t MaxSpokenCharacters = 5000;
// No text of more bytes can be within the limit: UTF-8 takes at most four a character.
inline constexpr std::size_t MaxSpokenTextBytes = 4 * MaxSpokenCharacters;

// Why `Text` cannot be spoken, in the user's words ("O texto está vazio.");
// empty when it can: valid UTF-8, something besides blanks, no control
// characters other than tabs and line ends, at most MaxSpokenCharacters.
std::string SpokenTextRefusal(std::string_view Text);

// An accepted text without the blanks around it.
std::string WithoutSurroundingBlanks(std::string_view Text);

}  // namespace quorvel
