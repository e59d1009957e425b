#include "audio/pipeline/FastResampler.h"

#include "audio/pipeline/AuException.h"
#include "audio/pipeline/AudioConverter.h"
#include "audio/pipeline/ChebyshevLowPass.h"
#include "audio/pipeline/SampleConversion.h"

#include <algorithm>
#include <cmath>

namespace quorvel {

namespace {

constexpr float RipplePercent = 5.0f;

std::int64_t RoundedRatio(long double Value) { return static_cast<std::int64_t>(std::nearbyint(Value)); }

}  // namespace

TAuInput& TFastResampler::RequireInput() {
    TAuInput* input = Input();
    if (input == nullptr) throw EAuException("Input is not assigned");
    return *input;
}

int TFastResampler::GetBitsPerSample() {
    RequireInput();
    return TAuConverter::GetBitsPerSample();
}

int TFastResampler::GetChannels() { return RequireInput().GetChannels(); }

int TFastResampler::GetSampleRate() {
    RequireInput();
    return static_cast<int>(FOutSampleRate.load());
}

void TFastResampler::DoOpen() {
    TAuInput& input = RequireInput();
    input.Open();
    const auto bits = static_cast<std::uint32_t>(TAuConverter::GetBitsPerSample());
    const auto channels = static_cast<std::uint32_t>(input.GetChannels());
    const auto inRate = static_cast<std::uint32_t>(input.GetSampleRate());
    const std::uint32_t outRate = FOutSampleRate;
    const auto refuse = [&](const char* Text) {
        input.Close();
        throw EAuException(Text);
    };
    // The stage tables hold MaxChannels channels.
    if (channels > MaxChannels) refuse("Cannot resample more than 8 channels");
    if (channels == 0 || bits / 8 == 0) refuse("The audio format is not supported");
    FBusy = true;
    FSampleBytes = static_cast<std::uint16_t>(bits / 8);
    FFrameBytes = static_cast<std::uint16_t>(channels * FSampleBytes);
    FChannelCount = static_cast<std::uint16_t>(channels);
    FPosition = 0;
    FInStep = inRate / 5;
    FOutStep = outRate / 5;
    FInBlockBytes = FFrameBytes * FInStep;
    FOutBlockBytes = FFrameBytes * FOutStep;
    FBufferStart = 0;
    FBufferEnd = 0;
    const std::int64_t inSize = input.Size();
    FSize = inSize > 0 ? RoundedRatio(static_cast<long double>(inSize) * FOutBlockBytes / FInBlockBytes) : inSize;
    FPassThrough = FOutBlockBytes == FInBlockBytes;
    if (FPassThrough) return;
    if (FInStep == 0 || FOutStep == 0) {
        // A rate below 5 frames per second gives no frame to hold or drop.
        FBusy = false;
        refuse("The audio format is not supported");
    }
    FBlockFrames = FInStep;
    if (FInStep < FOutStep) {
        std::size_t k = 2;
        while (FInStep * k < FOutStep) ++k;
        FBlockFrames = FInStep * k;
    }
    FByteBuffer.assign(FBlockFrames * FFrameBytes, 0);
    FFloatBuffer.assign(FBlockFrames * FChannelCount, 0.0f);
    const float ratio = static_cast<float>(std::min(FInBlockBytes, FOutBlockBytes)) /
                        static_cast<float>(std::max(FInBlockBytes, FOutBlockBytes));
    const TRecursiveFilter filter = DesignChebyshevLowPass(FilterOrder, RipplePercent, 0.85f * ratio / 2.0f);
    std::reverse_copy(filter.Feed.begin(), filter.Feed.end(), FFeedCoeffs.begin());
    std::reverse_copy(filter.Back.begin(), filter.Back.end(), FBackCoeffs.begin());
    for (std::size_t s = 0; s < Stages; ++s) {
        for (std::size_t c = 0; c < FChannelCount; ++c) {
            FStageIn[s][c].assign(FilterOrder + FBlockFrames, 0.0f);
            FStageOut[s][c].assign(FilterOrder + FBlockFrames, 0.0f);
        }
    }
}

void TFastResampler::DoClose() {
    if (TAuInput* input = Input()) input->Close();
    FByteBuffer = {};
    FFloatBuffer = {};
    for (auto& stage : FStageIn)
        for (auto& channel : stage) channel = {};
    for (auto& stage : FStageOut)
        for (auto& channel : stage) channel = {};
    FBusy = false;
}

void TFastResampler::RunStages(std::size_t Frames) {
    for (std::size_t s = 0; s < Stages; ++s) {
        for (std::size_t c = 0; c < FChannelCount; ++c) {
            float* x = FStageIn[s][c].data();
            float* y = FStageOut[s][c].data();
            for (std::size_t j = 0; j < Frames; ++j) {
                float acc = 0.0f;
                DotAccumulate(x + j, FFeedCoeffs.data(), acc, FilterOrder + 1);
                DotAccumulate(y + j, FBackCoeffs.data(), acc, FilterOrder);
                y[j + FilterOrder] = acc;
            }
            if (s + 1 < Stages) std::copy_n(y + FilterOrder, Frames, FStageIn[s + 1][c].data() + FilterOrder);
            // The block's last inputs and outputs are the next block's history.
            std::copy_n(x + Frames, FilterOrder, x);
            std::copy_n(y + Frames, FilterOrder, y);
        }
    }
}

bool TFastResampler::MakeBlock() {
    FBufferStart = 0;
    bool ended = false;
    const std::uint32_t n = FillFromInput(*Input(), FByteBuffer.data(), FInBlockBytes, ended);
    FBufferEnd = n;
    if (n == 0) return false;
    const std::size_t samples = n / FSampleBytes;
    const std::size_t frames = n / FFrameBytes;
    const std::size_t channels = FChannelCount;
    SamplesToFloat(FSampleBytes * 8U, FByteBuffer.data(), FFloatBuffer.data(), samples);
    std::size_t m = 0;
    if (FOutBlockBytes > FInBlockBytes) {
        // Zero-order hold up to the output rate, then filter there.
        std::int64_t acc = 0;
        for (std::size_t i = 0; i < frames; ++m) {
            acc -= FInBlockBytes;
            for (std::size_t c = 0; c < channels; ++c) FStageIn[0][c][FilterOrder + m] = FFloatBuffer[i * channels + c];
            if (acc < 0) {
                ++i;
                acc += FOutBlockBytes;
            }
        }
        RunStages(m);
        for (std::size_t j = 0; j < m; ++j)
            for (std::size_t c = 0; c < channels; ++c)
                FFloatBuffer[j * channels + c] = FStageOut[Stages - 1][c][FilterOrder + j];
    } else {
        // Filter at the input rate, then keep every frame the stepping picks.
        for (std::size_t j = 0; j < samples; ++j)
            FStageIn[0][j % channels][FilterOrder + j / channels] = FFloatBuffer[j];
        RunStages(frames);
        std::int64_t acc = 0;
        for (std::size_t j = 0; j < frames; ++j) {
            acc -= FOutBlockBytes;
            if (acc < 0) {
                for (std::size_t c = 0; c < channels; ++c)
                    FFloatBuffer[m * channels + c] = FStageOut[Stages - 1][c][FilterOrder + j];
                ++m;
                acc += FInBlockBytes;
            }
        }
    }
    FloatToSamples(FSampleBytes * 8U, FFloatBuffer.data(), FByteBuffer.data(), m * channels);
    FBufferEnd = static_cast<std::uint32_t>(m * FFrameBytes);
    return true;
}

void TFastResampler::DoRead(const std::uint8_t*& Buffer, std::uint32_t& Bytes) {
    TAuInput& input = RequireInput();
    if (FPassThrough) {
        input.Read(Buffer, Bytes);
        return;
    }
    if (!FBusy) throw EAuException("The Stream is not opened");
    if (FBufferStart >= FBufferEnd && !MakeBlock()) {
        Buffer = nullptr;
        Bytes = 0;
        return;
    }
    Bytes = std::min(Bytes, FBufferEnd - FBufferStart);
    Buffer = FByteBuffer.data() + FBufferStart;
    FBufferStart += Bytes;
    const std::int64_t inSize = input.Size();
    FPosition =
        inSize > 0 ? RoundedRatio(static_cast<long double>(FSize) / inSize * input.Position()) : input.Position();
}

}  // namespace quorvel
