#include "audio/formats/ImaAdpcm.h"

#include <algorithm>
#include <cstring>

namespace quorvel {

namespace {

constexpr std::int16_t StepSizes[ImaMaxStepIndex + 1] = {
    7,    8,     9,     10,    11,    12,    13,    14,    16,    17,    19,    21,    23,    25,   28,
    31,   34,    37,    41,    45,    50,    55,    60,    66,    73,    80,    88,    97,    107,  118,
    130,  143,   157,   173,   190,   209,   230,   253,   279,   307,   337,   371,   408,   449,  494,
    544,  598,   658,   724,   796,   876,   963,   1060,  1166,  1282,  1411,  1552,  1707,  1878, 2066,
    2272, 2499,  2749,  3024,  3327,  3660,  4026,  4428,  4871,  5358,  5894,  6484,  7132,  7845, 8630,
    9493, 10442, 11487, 12635, 13899, 15289, 16818, 18500, 20350, 22385, 24623, 27086, 29794, 32767};

constexpr int IndexAdjust[16] = {-1, -1, -1, -1, 2, 4, 6, 8, -1, -1, -1, -1, 2, 4, 6, 8};

// The running state of one channel while a block is coded.
struct TCoder {
    int Predicted;
    int Index;

    // Applies a code as both directions reconstruct it.
    void Apply(int Code) {
        const int step = StepSizes[Index];
        int delta = step >> 3;
        if (Code & 4) delta += step;
        if (Code & 2) delta += step >> 1;
        if (Code & 1) delta += step >> 2;
        if (Code & 8) delta = -delta;
        Predicted = std::clamp(Predicted + delta, -32767, 32767);
        Index = std::clamp(Index + IndexAdjust[Code], 0, int(ImaMaxStepIndex));
    }

    int Decode(int Code) {
        Apply(Code);
        return Predicted;
    }

    int Encode(int Sample) {
        const int step = StepSizes[Index];
        int d = Sample - Predicted;
        int code = 0;
        if (d < 0) {
            code = 8;
            d = -d;
        }
        if (d >= step) {
            code |= 4;
            d -= step;
        }
        if (d >= step >> 1) {
            code |= 2;
            d -= step >> 1;
        }
        if (d >= step >> 2) code |= 1;
        Apply(code);
        return code;
    }
};

void WriteHeader(std::uint8_t* Header, std::int16_t Sample, std::uint8_t Index) {
    std::memcpy(Header, &Sample, 2);
    Header[2] = Index;
    Header[3] = 0;
}

}  // namespace

std::uint32_t ImaFramesPerBlock(std::uint32_t BlockBytes, std::uint32_t Channels) {
    if (Channels == 1) return BlockBytes >= 4 ? 2 * (BlockBytes - 4) + 1 : 0;
    if (Channels == 2) return BlockBytes >= 8 && (BlockBytes - 8) % 8 == 0 ? BlockBytes - 7 : 0;
    return 0;
}

void ImaEncodeBlock(const std::int16_t* Samples, std::uint8_t* Block, std::uint32_t BlockBytes, std::uint32_t Channels,
                    TImaChannelState* States) {
    const std::uint32_t frames = ImaFramesPerBlock(BlockBytes, Channels);
    if (frames == 0) return;
    std::memset(Block, 0, BlockBytes);
    for (std::uint32_t c = 0; c < Channels; ++c) {
        States[c].Predicted = Samples[c];
        WriteHeader(Block + 4 * c, Samples[c], States[c].StepIndex);
        TCoder coder{Samples[c], std::min<int>(States[c].StepIndex, ImaMaxStepIndex)};
        if (Channels == 1) {
            for (std::uint32_t k = 0; k + 1 < frames; k += 2) {
                const int low = coder.Encode(Samples[k + 1]);
                const int high = coder.Encode(Samples[k + 2]);
                Block[4 + k / 2] = static_cast<std::uint8_t>(low | (high << 4));
            }
        } else {
            // Groups of 8 codes: 4 bytes of the left channel, then 4 of the right.
            for (std::uint32_t k = 0; k + 1 < frames; k += 2) {
                const int low = coder.Encode(Samples[2 * (k + 1) + c]);
                const int high = coder.Encode(Samples[2 * (k + 2) + c]);
                Block[8 + (k / 8) * 8 + (k % 8) / 2 + 4 * c] = static_cast<std::uint8_t>(low | (high << 4));
            }
        }
        States[c].Predicted = static_cast<std::int16_t>(coder.Predicted);
        States[c].StepIndex = static_cast<std::uint8_t>(coder.Index);
    }
}

std::uint32_t ImaDecodeBlock(const std::uint8_t* Block, std::uint32_t BlockBytes, std::uint32_t Channels,
                             std::int16_t* Samples) {
    const std::uint32_t frames = ImaFramesPerBlock(BlockBytes, Channels);
    for (std::uint32_t c = 0; c < Channels; ++c) {
        if (Block[4 * c + 2] > ImaMaxStepIndex) {
            std::fill(Samples, Samples + frames * Channels, std::int16_t{0});
            return frames;
        }
    }
    for (std::uint32_t c = 0; c < Channels; ++c) {
        std::int16_t first;
        std::memcpy(&first, Block + 4 * c, 2);
        Samples[c] = first;
        TCoder coder{first, Block[4 * c + 2]};
        if (Channels == 1) {
            for (std::uint32_t k = 0; k + 1 < frames; k += 2) {
                const std::uint8_t byte = Block[4 + k / 2];
                Samples[k + 1] = static_cast<std::int16_t>(coder.Decode(byte & 15));
                Samples[k + 2] = static_cast<std::int16_t>(coder.Decode(byte >> 4));
            }
        } else {
            for (std::uint32_t k = 0; k + 1 < frames; k += 2) {
                const std::uint8_t byte = Block[8 + (k / 8) * 8 + (k % 8) / 2 + 4 * c];
                Samples[2 * (k + 1) + c] = static_cast<std::int16_t>(coder.Decode(byte & 15));
                Samples[2 * (k + 2) + c] = static_cast<std::int16_t>(coder.Decode(byte >> 4));
            }
        }
    }
    return frames;
}

}  // namespace quorvel
