#pragma once

#include "audio/formats/ExistingWave.h"
#include "audio/formats/ImaAdpcm.h"
#include "audio/formats/WavType.h"
#include "audio/pipeline/FileOut.h"

#include <atomic>
#include <cstdint>
#include <vector>

namespace quorvel {

// Writes a RIFF/WAVE file: plain PCM (44-byte header), extensible PCM
// (68-byte header) or IMA ADPCM (60-byte header), or appends to an existing
// PCM or IMA ADPCM file of the same format.
class TWaveOut : public TAuFileOut {
public:
    static constexpr std::uint32_t PcmStepBytes = 16384;
    // What one step gathers from the input before it writes.
    static constexpr std::size_t PcmWriteBytes = 65536;

    TWaveOut() = default;
    ~TWaveOut() override;

    TWavType WavType() const { return FWavType; }
    // Only wtPCM and wtDVIADPCM, and only while no run is under way.
    void SetWavType(TWavType Value);
    std::uint16_t BlockSize() const { return FBlockSize; }
    // Non-zero multiples of 4 only, and only while no run is under way.
    void SetBlockSize(std::uint16_t Value);
    bool CreateNonMsHeaders() const { return FCreateNonMsHeaders; }
    // False: more than 2 channels or more than 16 bits get the extensible header.
    void SetCreateNonMsHeaders(bool Value) { FCreateNonMsHeaders = Value; }
    void SetFileMode(TFileOutputMode Value) override { FFileMode = Value; }

protected:
    void PrepareOutput() override;
    bool WriteStep(bool Cancelling) override;
    void FinishOutput() override;

private:
    [[noreturn]] void Refuse(const char* Text);
    void PrepareIma(std::uint32_t Channels, std::uint32_t Rate, std::uint32_t Bits, std::int64_t Size);
    bool WriteImaBlock();
    void PatchSizes();
    void CompleteData();
    void WriteU32At(std::int64_t Offset, std::uint32_t Value);

    std::atomic<TWavType> FWavType{wtPCM};
    std::atomic<std::uint16_t> FBlockSize{512};
    std::atomic<bool> FCreateNonMsHeaders{true};

    // State of one run, on the worker.
    TWavType FRunType = wtPCM;
    std::uint16_t FRunBlockSize = 512;
    std::uint32_t FRunChannels = 0;
    std::int64_t FRunSize = 0;
    TAuInput* FRunInput = nullptr;
    bool FPrepared = false;  // the header stands, so FinishOutput may patch it
    bool FInputOpen = false;
    bool FEndOfInput = false;
    bool FStepFailed = false;
    bool FAppending = false;  // to a non-empty existing file
    TExistingWave FExisting;
    TImaChannelState FIma[2];
    std::vector<std::int16_t> FImaSamples;
    std::vector<std::uint8_t> FImaBlock;
    std::vector<std::uint8_t> FRunBytes;  // one step's samples
};

}  // namespace quorvel
