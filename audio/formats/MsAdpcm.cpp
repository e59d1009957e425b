#include "audio/formats/MsAdpcm.h"

#include <algorithm>
#include <cstring>

namespace quorvel {

namespace {

constexpr int Adaptation[16] = {230, 230, 230, 230, 307, 409, 512, 614, 768, 614, 512, 409, 307, 230, 230, 230};

// Real streams keep delta far below this; a damaged one could grow it by 3 each
// code until the arithmetic overflows.
constexpr int MaxDelta = 0x7FFFFFFF / 768;

struct TPredictor {
    int Coefficient1;
    int Coefficient2;
    int Delta;
    int Sample1;
    int Sample2;

    int Next(int Nibble) {
        std::int64_t p = (std::int64_t{Sample1} * Coefficient1 + std::int64_t{Sample2} * Coefficient2) / 256;
        p += std::int64_t{Nibble >= 8 ? Nibble - 16 : Nibble} * Delta;
        p = std::clamp<std::int64_t>(p, -32768, 32767);
        Delta = std::clamp(Delta * Adaptation[Nibble] / 256, 16, MaxDelta);
        Sample2 = Sample1;
        Sample1 = static_cast<int>(p);
        return Sample1;
    }
};

int LoadS16(const std::uint8_t* Bytes) {
    std::int16_t value;
    std::memcpy(&value, Bytes, 2);
    return value;
}

}  // namespace

std::uint32_t MsFramesPerBlock(std::uint32_t BlockBytes, std::uint32_t Channels, std::uint32_t SamplesPerBlock) {
    if (SamplesPerBlock < 2) return 0;
    if (Channels == 1) {
        const std::uint32_t codeBytes = (SamplesPerBlock - 2) / 2;
        return 7 + codeBytes <= BlockBytes ? 2 + 2 * codeBytes : 0;
    }
    if (Channels == 2) return 14 + (SamplesPerBlock - 2) <= BlockBytes ? SamplesPerBlock : 0;
    return 0;
}

std::uint32_t MsDecodeBlock(const std::uint8_t* Block, std::uint32_t BlockBytes, std::uint32_t Channels,
                            std::uint32_t SamplesPerBlock, const TMsCoefficientPair* Pairs, std::uint32_t PairCount,
                            std::int16_t* Samples) {
    const std::uint32_t frames = MsFramesPerBlock(BlockBytes, Channels, SamplesPerBlock);
    if (frames == 0) return 0;
    TPredictor channel[2];
    for (std::uint32_t c = 0; c < Channels; ++c) {
        const std::uint8_t index = Block[c];
        if (index >= PairCount) {
            std::fill(Samples, Samples + frames * Channels, std::int16_t{0});
            return frames;
        }
        // Header fields are grouped by kind: deltas, then sample 1, then sample 2.
        const std::uint8_t* fields = Block + Channels;
        channel[c] = {Pairs[index].Coefficient1, Pairs[index].Coefficient2, LoadS16(fields + 2 * c),
                      LoadS16(fields + 2 * Channels + 2 * c), LoadS16(fields + 4 * Channels + 2 * c)};
    }
    for (std::uint32_t c = 0; c < Channels; ++c) {
        Samples[c] = static_cast<std::int16_t>(channel[c].Sample2);
        Samples[Channels + c] = static_cast<std::int16_t>(channel[c].Sample1);
    }
    const std::uint8_t* codes = Block + 7 * Channels;
    std::int16_t* out = Samples + 2 * Channels;
    if (Channels == 1) {
        for (std::uint32_t i = 0; i < (frames - 2) / 2; ++i) {
            *out++ = static_cast<std::int16_t>(channel[0].Next(codes[i] >> 4));
            *out++ = static_cast<std::int16_t>(channel[0].Next(codes[i] & 15));
        }
    } else {
        for (std::uint32_t i = 0; i < frames - 2; ++i) {
            *out++ = static_cast<std::int16_t>(channel[0].Next(codes[i] >> 4));
            *out++ = static_cast<std::int16_t>(channel[1].Next(codes[i] & 15));
        }
    }
    return frames;
}

}  // namespace quorvel
