// Dead air before the first word and after the last one cut down to a short
// lead-in and tail. Silence is what the speech-level meter finds inactive,
// so no word is ever cut.
#pragma once

#include "config/FileSystem.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>

namespace quorvel {

inline constexpr double TrimLeadInSeconds = 0.3;
inline constexpr double TrimTailSeconds = 0.5;

// The samples [first, last) to keep of Count interleaved samples of
// Channels channels; none when nothing is active, and the recording is kept.
std::optional<std::pair<std::size_t, std::size_t>> TrimmedRange(const std::int16_t* Samples, std::size_t Count,
                                                                int SampleRate, int Channels);

// Trims, in place, a prompt the device plays, a block at a time. Raises
// std::runtime_error when it is no such prompt or cannot be read or written.
void TrimPromptFile(const std::string& Path, FileSystem& Files = realFileSystem());

}  // namespace quorvel
