#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace quorvel::test {

// A folder of its own for one test, removed with the object.
class TScratchFolder {
public:
    TScratchFolder();
    ~TScratchFolder();
    TScratchFolder(const TScratchFolder&) = delete;
    TScratchFolder& operator=(const TScratchFolder&) = delete;

    std::filesystem::path File(const std::string& Name) const { return FPath / Name; }

private:
    std::filesystem::path FPath;
};

// Runs a shell command quietly; true when it exited with 0.
bool RunCommand(const std::string& Command);
// ffmpeg with its banner and logging off, then Arguments.
bool RunFfmpeg(const std::string& Arguments);
// ffmpeg's own decode of File to interleaved 16-bit PCM.
std::vector<std::uint8_t> FfmpegDecode(const std::filesystem::path& File);

std::vector<std::uint8_t> ReadWholeFile(const std::filesystem::path& File);
void WriteWholeFile(const std::filesystem::path& File, const std::vector<std::uint8_t>& Bytes);

}  // namespace quorvel::test
