#pragma once

#include "audio/pipeline/AuConverter.h"

#include <atomic>
#include <cstdint>
#include <vector>

namespace quorvel {

// Stored with the converter; mono to stereo always fills both channels.
enum TMSConverterMode { msmMonoToBoth = 0, msmMonoToLeft = 1, msmMonoToRight = 2 };

// Changes the sample width (8, 16, 24 or 32 bits) and turns mono into stereo
// or stereo into mono, through float samples. With either property set every
// sample passes the float stage, also when the formats agree.
class TAudioConverter : public TAuConverter {
public:
    TMSConverterMode Mode() const { return FMode; }
    void SetMode(TMSConverterMode Value) { FMode = Value; }
    // 0 = as the input.
    int OutBitsPerSample() const { return FOutBitsPerSample; }
    void SetOutBitsPerSample(int Value) { FOutBitsPerSample = Value; }
    // 0 = as the input; 1 or 2 on a 1- or 2-channel input, and 1 (the mean of all channels) on any input.
    int OutChannels() const { return FOutChannels; }
    void SetOutChannels(int Value) { FOutChannels = Value; }

    int GetBitsPerSample() override;
    int GetChannels() override;

protected:
    void DoOpen() override;
    void DoClose() override;
    void DoRead(const std::uint8_t*& Buffer, std::uint32_t& Bytes) override;

private:
    std::atomic<TMSConverterMode> FMode{msmMonoToBoth};
    std::atomic<int> FOutBitsPerSample{0};
    std::atomic<int> FOutChannels{0};

    // Fixed at open.
    std::uint32_t FActualOutBits = 0;
    std::uint32_t FActualOutChannels = 0;
    std::uint32_t FInChannels = 0;
    std::uint32_t FInBits = 0;
    std::uint32_t FInSampleBytes = 0;
    std::uint32_t FOutSampleBytes = 0;

    std::vector<std::uint8_t> FOutBuffer;
    std::vector<float> FWorkBuffer;
    std::uint32_t FCapacityFrames = 0;
};

// Integer PCM of the given width to floats and back; a width the procedures
// do not know gives silence, never stale memory.
void SamplesToFloat(std::uint32_t Bits, const void* Source, float* Destination, std::size_t Count);
void FloatToSamples(std::uint32_t Bits, float* Source, void* Destination, std::size_t Count);

}  // namespace quorvel
