#pragma once

#include "audio/formats/MsAdpcm.h"
#include "audio/formats/WavType.h"
#include "audio/pipeline/FileIn.h"
#include "audio/pipeline/MemoryStream.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace quorvel {

// Reads a RIFF/WAVE file as little-endian integer PCM: plain and extensible
// PCM as stored, IEEE float (32 or 64 bit) as 32-bit integers, IMA and
// Microsoft ADPCM as 16-bit samples.
class TWaveIn : public TAuFileIn {
public:
    static constexpr std::uint32_t DecodeBufferBytes = 16384;

    TWaveIn() = default;
    ~TWaveIn() override;

    // The kind the last open found.
    TWavType WavType() const { return FKind; }

protected:
    void OpenSource() override;
    void CloseSource() override;
    void DoRead(const std::uint8_t*& Buffer, std::uint32_t& Bytes) override;
    bool DoSeek(std::int64_t& Frame) override;

private:
    // Parses the header from the stream's position and leaves the stream on
    // the first data byte; false when the data cannot be read.
    bool ScanHeader();
    bool TakeFormat(const std::vector<std::uint8_t>& Body);
    bool SetUpKind();
    // Compressed data that the wave converter turns into a PCM image in
    // memory, which then stands in for the stream; false when it cannot.
    bool OpenConverted();
    std::uint32_t Refill();
    std::uint32_t ReadBlock();
    std::uint32_t StoredFrameBytes() const;

    TWavType FKind = wtUnsupported;
    std::uint16_t FStoredBits = 0;
    std::uint16_t FBlockAlign = 0;
    std::uint16_t FSamplesPerBlock = 0;
    std::uint32_t FTotalSamples = 0;
    std::uint32_t FPairCount = 0;
    std::array<TMsCoefficientPair, MsMaxCoefficientPairs> FPairs{};
    bool FFloat32 = false;
    std::int64_t FDataStart = 0;
    std::int64_t FDataEnd = 0;
    std::uint32_t FBlockFrames = 0;
    std::vector<std::int16_t> FDecoded;  // also holds PCM and float bytes as read
    std::vector<std::uint8_t> FBlock;
    std::unique_ptr<TAuMemoryStream> FConverted;
    TAuStream* FReplacedStream = nullptr;
};

}  // namespace quorvel
