#pragma once

#include "audio/formats/WaveIn.h"
#include "audio/formats/WaveOut.h"
#include "audio/pipeline/AuInput.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
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
    void FailReadsWith(std::string Message) { FFailure = std::move(Message); }

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
};

std::vector<std::uint8_t> Le16(const std::vector<std::int16_t>& Samples);
std::vector<std::int16_t> FromLe16(const std::vector<std::uint8_t>& Bytes);
// A mix of tones and noise that uses the whole 16-bit range.
std::vector<std::int16_t> TestSignal(std::size_t Frames, int Channels);
// Bytes in which every sample of the given width takes varied values.
std::vector<std::uint8_t> PatternBytes(std::size_t Count);

std::vector<std::uint8_t> ReadFile(const std::filesystem::path& Path);
void WriteFile(const std::filesystem::path& Path, const std::vector<std::uint8_t>& Bytes);

// Runs the writer to its end on the test's thread of events; returns its ErrorText.
std::string RunToEnd(TWaveOut& Writer);
// Reads an open reader to its end, asking Request bytes each time.
std::vector<std::uint8_t> ReadAll(TAuInput& Input, std::uint32_t Request);
// Opens the file, reads it all with the given request size and closes it.
std::vector<std::uint8_t> ReadWave(const std::filesystem::path& Path, std::uint32_t Request = 65536);

// Runs a shell command; false when it failed.
bool Shell(const std::string& Command);
// ffmpeg's decoding of a file as interleaved 16-bit samples.
std::vector<std::int16_t> FfmpegDecode(const std::filesystem::path& Path);

// A fresh folder for one test's files, removed afterwards.
class WavFiles : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    std::filesystem::path Path(const std::string& Name) const { return FFolder / Name; }

private:
    std::filesystem::path FFolder;
};

}  // namespace quorvel::test
