#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace quorvel {

// The playable length in frames that an encoder wrote into the info frame
// at the head of an MP3 (frame count less encoder delay and padding), which
// a container's own duration does not subtract. Frame is the first frame.
std::optional<std::int64_t> Mp3PlayableFrames(const std::uint8_t* Frame, std::size_t Length);

// Bytes of an ID3v2 tag (with its footer) at the start of Head; 0 for none.
std::size_t Id3v2TagLength(const std::uint8_t* Head, std::size_t Length);

}  // namespace quorvel
