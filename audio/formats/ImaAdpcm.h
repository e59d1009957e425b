#pragma once

#include <cstdint>

namespace quorvel {

// IMA (DVI) ADPCM blocks of 1 or 2 channels, 16-bit samples interleaved
// left, right. Each channel's block starts with a 4-byte header: the first
// sample and the step index. Buffers belong to the caller; nothing allocates.

struct TImaChannelState {
    std::int16_t Predicted = 0;
    std::uint8_t StepIndex = 0;
};

constexpr std::uint8_t ImaMaxStepIndex = 88;

// Frames a block of BlockBytes holds (mono 2 x (B - 4) + 1, stereo B - 7), or
// 0 when no block of that length exists: other channel counts, a block shorter
// than its headers, or a stereo block whose data is not whole groups of 8 bytes.
std::uint32_t ImaFramesPerBlock(std::uint32_t BlockBytes, std::uint32_t Channels);

// Encodes ImaFramesPerBlock frames into one block. The first frame goes into
// the headers with each channel's current step index; States leave with the
// step index reached, for the next block's header.
void ImaEncodeBlock(const std::int16_t* Samples, std::uint8_t* Block, std::uint32_t BlockBytes, std::uint32_t Channels,
                    TImaChannelState* States);

// Decodes one block into ImaFramesPerBlock frames and returns that count. A
// header whose step index is above 88 is damaged: its block decodes as silence.
std::uint32_t ImaDecodeBlock(const std::uint8_t* Block, std::uint32_t BlockBytes, std::uint32_t Channels,
                             std::int16_t* Samples);

}  // namespace quorvel
