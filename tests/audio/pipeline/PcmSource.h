#pragma once

#include "audio/pipeline/AuInput.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quorvel::test {

// PCM bytes in memory with the format the test gives, handed out at most
// BlockBytes per Read. A failing source raises on every Read.
class TPcmSource : public TAuInput {
public:
    TPcmSource(std::vector<std::uint8_t> Data, int Bits, int Channels, int Rate, std::uint32_t BlockBytes = 4096);

    int GetBitsPerSample() override { return FBits; }
    int GetChannels() override { return FChannels; }
    int GetSampleRate() override { return FRate; }

    void SetReportedSize(std::int64_t Value) { FReportedSize = Value; }
    // Every read once AfterBytes have been handed out throws Message.
    void FailReadsWith(std::string Message, std::size_t AfterBytes = 0) {
        FFailure = std::move(Message);
        FFailAfter = AfterBytes;
    }

protected:
    void DoOpen() override;
    void DoClose() override { FBusy = false; }
    void DoRead(const std::uint8_t*& Buffer, std::uint32_t& Bytes) override;

private:
    std::vector<std::uint8_t> FData;
    int FBits;
    int FChannels;
    int FRate;
    std::uint32_t FBlockBytes;
    std::int64_t FReportedSize;
    std::size_t FOffset = 0;
    std::string FFailure;
    std::size_t FFailAfter = 0;
};

}  // namespace quorvel::test
