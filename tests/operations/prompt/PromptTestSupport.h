// Recordings for the prompt tests, made at test time.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace quorvel::test {

// A PCM WAV with the plain 44-byte header; samples are interleaved and
// stored in the low `Bits` bits (8-bit samples unsigned, as WAV keeps them).
std::vector<std::uint8_t> PcmWave(const std::vector<std::int32_t>& Samples, int Channels = 1, int Rate = 8000,
                                  int Bits = 16, int FormatTag = 1);
void WriteFile(const std::filesystem::path& Path, const std::vector<std::uint8_t>& Bytes);
std::vector<std::uint8_t> ReadFile(const std::filesystem::path& Path);

// A sine tone made by ffmpeg with libmp3lame; false when ffmpeg failed.
bool MakeMp3(const std::filesystem::path& Path, double Seconds, int Rate = 22050, int Channels = 2);

// Whether sox is on the PATH.
bool HaveSox();
// Runs `sox Arguments`; true when it succeeded.
bool Sox(const std::string& Arguments);

// The samples of a 16-bit PCM WAV with the plain 44-byte header.
std::vector<std::int16_t> PcmSamples(const std::vector<std::uint8_t>& Wave);

// A folder under the temporary directory, removed with the object.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return FPath; }
    std::string prefix() const { return FPath.string() + "/"; }
    std::vector<std::string> names() const;  // sorted

private:
    std::filesystem::path FPath;
};

}  // namespace quorvel::test
