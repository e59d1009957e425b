#include "audio/pipeline/AudioConverter.h"

#include "audio/pipeline/AuException.h"
#include "audio/pipeline/SampleConversion.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace quorvel {

void SamplesToFloat(std::uint32_t Bits, const void* Source, float* Destination, std::size_t Count) {
    switch (Bits) {
        case 8:
            U8ToFloat(Source, Destination, Count);
            break;
        case 16:
            S16ToFloat(Source, Destination, Count);
            break;
        case 24:
            S24ToFloat(Source, Destination, Count);
            break;
        case 32:
            S32ToFloat(Source, Destination, Count);
            break;
        default:
            std::fill(Destination, Destination + Count, 0.0f);
    }
}

void FloatToSamples(std::uint32_t Bits, float* Source, void* Destination, std::size_t Count) {
    switch (Bits) {
        case 8:
            FloatToU8(Source, Destination, Count);
            break;
        case 16:
            FloatToS16(Source, Destination, Count);
            break;
        case 24:
            FloatToS24(Source, Destination, Count);
            break;
        case 32:
            FloatToS32(Source, Destination, Count);
            break;
        default:
            std::memset(Destination, 0, Count * (Bits / 8));
    }
}

int TAudioConverter::GetBitsPerSample() {
    const int bits = FOutBitsPerSample;
    return bits != 0 ? bits : TAuConverter::GetBitsPerSample();
}

int TAudioConverter::GetChannels() {
    const int input = TAuConverter::GetChannels();
    const int wanted = FOutChannels;
    const auto monoOrStereo = [](int Count) { return Count == 1 || Count == 2; };
    // More channels than two are mixed down only to mono: a prompt is mono.
    if (wanted == 1 && input > 2) return 1;
    return monoOrStereo(wanted) && monoOrStereo(input) ? wanted : input;
}

void TAudioConverter::DoOpen() {
    TAuInput* input = Input();
    if (input == nullptr) throw EAuException("Input is not assigned");
    input->Open();
    FActualOutBits = static_cast<std::uint32_t>(GetBitsPerSample());
    FActualOutChannels = static_cast<std::uint32_t>(GetChannels());
    FInBits = static_cast<std::uint32_t>(TAuConverter::GetBitsPerSample());
    FInChannels = static_cast<std::uint32_t>(TAuConverter::GetChannels());
    FInSampleBytes = FInBits / 8;
    FOutSampleBytes = FActualOutBits / 8;
    if (FInSampleBytes == 0 || FOutSampleBytes == 0 || FInChannels == 0 || FActualOutChannels == 0) {
        // No whole sample to count frames by.
        input->Close();
        throw EAuException("The audio format is not supported");
    }
    FBusy = true;
    FPosition = 0;
    FBufferStart = 0;
    FBufferEnd = 0;
    const std::int64_t inSize = input->Size();
    if (inSize < 0) {
        FSize = -1;
    } else {
        const long double outBits = static_cast<long double>(FActualOutBits) * FActualOutChannels;
        const long double inBits = static_cast<long double>(FInBits) * FInChannels;
        auto size = static_cast<std::int64_t>(std::nearbyint(static_cast<long double>(inSize) * outBits / inBits));
        const std::int64_t frame = (FActualOutBits * FActualOutChannels) / 8;
        FSize = size - size % frame;
    }
    FCapacityFrames = 0;
}

void TAudioConverter::DoClose() {
    if (TAuInput* input = Input()) input->Close();
    FOutBuffer = {};
    FWorkBuffer = {};
    FCapacityFrames = 0;
    FBusy = false;
}

void TAudioConverter::DoRead(const std::uint8_t*& Buffer, std::uint32_t& Bytes) {
    TAuInput& input = *Input();
    if (FOutBitsPerSample == 0 && FOutChannels == 0) {
        input.Read(Buffer, Bytes);
        return;
    }
    std::uint32_t frames = (Bytes / FOutSampleBytes) / FActualOutChannels;
    const std::uint8_t* source = nullptr;
    std::uint32_t delivered = frames * FInChannels * FInSampleBytes;
    input.Read(source, delivered);
    if (delivered == 0 || source == nullptr) {
        Buffer = nullptr;
        Bytes = 0;
        return;
    }
    frames = (delivered / FInSampleBytes) / FInChannels;
    Bytes = frames * FOutSampleBytes * FActualOutChannels;
    if (frames > FCapacityFrames) {
        FCapacityFrames = frames;
        FOutBuffer.assign(std::size_t{frames} * FOutSampleBytes * FActualOutChannels, 0);
        FWorkBuffer.assign(std::size_t{frames} * std::max(FActualOutChannels, FInChannels), 0.0f);
    }
    SamplesToFloat(FInBits, source, FWorkBuffer.data(), std::size_t{frames} * FInChannels);
    if (FActualOutChannels == 2 && FInChannels == 1)
        MonoToStereo(FWorkBuffer.data(), frames);
    else if (FActualOutChannels == 1 && FInChannels == 2)
        StereoToMono(FWorkBuffer.data(), frames);
    else if (FActualOutChannels == 1 && FInChannels > 2)
        ManyToMono(FWorkBuffer.data(), frames, FInChannels);
    FloatToSamples(FActualOutBits, FWorkBuffer.data(), FOutBuffer.data(), std::size_t{frames} * FActualOutChannels);
    Buffer = FOutBuffer.data();
}

}  // namespace quorvel
