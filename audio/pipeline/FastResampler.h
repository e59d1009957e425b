#pragma once

#include "audio/pipeline/AuConverter.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <vector>

namespace quorvel {

// Changes the sample rate by holding or dropping frames, smoothed by a
// 16-pole low-pass (four identical 4-pole Chebyshev stages) whose histories
// carry over from block to block. Works in blocks of a fifth of a second of
// input; rates that agree after division by 5 pass the data through.
class TFastResampler : public TAuConverter {
public:
    static constexpr std::uint32_t MaxChannels = 8;
    static constexpr std::size_t FilterOrder = 4;
    static constexpr std::size_t Stages = 4;

    std::uint32_t OutSampleRate() const { return FOutSampleRate; }
    void SetOutSampleRate(std::uint32_t Value) { FOutSampleRate = Value; }
    bool PassThrough() const { return FPassThrough; }

    int GetBitsPerSample() override;
    int GetChannels() override;
    int GetSampleRate() override;

protected:
    void DoOpen() override;
    void DoClose() override;
    void DoRead(const std::uint8_t*& Buffer, std::uint32_t& Bytes) override;
    bool DoReadSetsPosition() const override { return !FPassThrough; }

private:
    TAuInput& RequireInput();
    // Makes the next output block; false at the end of the input.
    bool MakeBlock();
    void RunStages(std::size_t Frames);

    std::atomic<std::uint32_t> FOutSampleRate{0};
    std::atomic<bool> FPassThrough{false};

    std::uint16_t FSampleBytes = 0;
    std::uint16_t FFrameBytes = 0;
    std::uint16_t FChannelCount = 0;
    std::uint32_t FInStep = 0;
    std::uint32_t FOutStep = 0;
    std::uint32_t FInBlockBytes = 0;
    std::uint32_t FOutBlockBytes = 0;
    std::size_t FBlockFrames = 0;
    std::vector<std::uint8_t> FByteBuffer;
    std::vector<float> FFloatBuffer;
    // Reversed, so that a forward dot product over a history, oldest value
    // first, applies a4..a0 and b4..b1.
    std::array<float, FilterOrder + 1> FFeedCoeffs{};
    std::array<float, FilterOrder> FBackCoeffs{};
    // Per stage and channel: FilterOrder history values, then the block.
    std::array<std::array<std::vector<float>, MaxChannels>, Stages> FStageIn;
    std::array<std::array<std::vector<float>, MaxChannels>, Stages> FStageOut;
};

}  // namespace quorvel
