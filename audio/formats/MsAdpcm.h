#pragma once

#include <cstdint>

namespace quorvel {

// Microsoft ADPCM block decoding for 1 or 2 channels into 16-bit samples
// interleaved left, right. Buffers belong to the caller; nothing allocates.

struct TMsCoefficientPair {
    std::int16_t Coefficient1;
    std::int16_t Coefficient2;
};

constexpr std::uint32_t MsMaxCoefficientPairs = 32;

// Frames a block yields for SamplesPerBlock (mono 2 + 2 x ((S - 2) div 2),
// stereo S), or 0 when the block cannot hold them: other channel counts, S
// below 2, or headers and codes longer than BlockBytes.
std::uint32_t MsFramesPerBlock(std::uint32_t BlockBytes, std::uint32_t Channels, std::uint32_t SamplesPerBlock);

// Decodes one block and returns the frames written (MsFramesPerBlock). A
// predictor index not below PairCount is damaged: its block decodes as silence.
std::uint32_t MsDecodeBlock(const std::uint8_t* Block, std::uint32_t BlockBytes, std::uint32_t Channels,
                            std::uint32_t SamplesPerBlock, const TMsCoefficientPair* Pairs, std::uint32_t PairCount,
                            std::int16_t* Samples);

}  // namespace quorvel
