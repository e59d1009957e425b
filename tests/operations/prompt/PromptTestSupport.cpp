#include "PromptTestSupport.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>

namespace quorvel::test {

namespace fs = std::filesystem;

namespace {

void PutLe(std::vector<std::uint8_t>& Out, std::uint32_t Value, int Bytes) {
    for (int i = 0; i < Bytes; ++i) Out.push_back(static_cast<std::uint8_t>(Value >> (8 * i)));
}

}  // namespace

std::vector<std::uint8_t> PcmWave(const std::vector<std::int32_t>& Samples, int Channels, int Rate, int Bits,
                                  int FormatTag) {
    const int sampleBytes = Bits / 8;
    const auto dataBytes = static_cast<std::uint32_t>(Samples.size() * static_cast<std::size_t>(sampleBytes));
    std::vector<std::uint8_t> out;
    out.insert(out.end(), {'R', 'I', 'F', 'F'});
    PutLe(out, 36 + dataBytes, 4);
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    PutLe(out, 16, 4);
    PutLe(out, static_cast<std::uint32_t>(FormatTag), 2);
    PutLe(out, static_cast<std::uint32_t>(Channels), 2);
    PutLe(out, static_cast<std::uint32_t>(Rate), 4);
    PutLe(out, static_cast<std::uint32_t>(Rate * Channels * sampleBytes), 4);
    PutLe(out, static_cast<std::uint32_t>(Channels * sampleBytes), 2);
    PutLe(out, static_cast<std::uint32_t>(Bits), 2);
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    PutLe(out, dataBytes, 4);
    for (const auto sample : Samples)
        PutLe(out, static_cast<std::uint32_t>(Bits == 8 ? sample + 128 : sample), sampleBytes);
    return out;
}

void WriteFile(const fs::path& Path, const std::vector<std::uint8_t>& Bytes) {
    std::ofstream(Path, std::ios::binary)
        .write(reinterpret_cast<const char*>(Bytes.data()), static_cast<std::streamsize>(Bytes.size()));
}

std::vector<std::uint8_t> ReadFile(const fs::path& Path) {
    std::ifstream in(Path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

bool HaveSox() { return std::system("command -v sox >/dev/null 2>&1") == 0; }

bool Sox(const std::string& Arguments) { return std::system(("sox " + Arguments).c_str()) == 0; }

bool MakeMp3(const fs::path& Path, double Seconds, int Rate, int Channels) {
    const std::string command =
        "ffmpeg -nostdin -loglevel error -y -f lavfi -i sine=frequency=440:sample_rate=" + std::to_string(Rate) +
        ":duration=" + std::to_string(Seconds) + " -ac " + std::to_string(Channels) + " -c:a libmp3lame -b:a 64k '" +
        Path.string() + "'";
    return std::system(command.c_str()) == 0 && fs::exists(Path);
}

std::vector<std::int16_t> PcmSamples(const std::vector<std::uint8_t>& Wave) {
    std::vector<std::int16_t> samples;
    for (std::size_t at = 44; at + 1 < Wave.size(); at += 2)
        samples.push_back(static_cast<std::int16_t>(Wave[at] | (Wave[at + 1] << 8)));
    return samples;
}

ScratchFolder::ScratchFolder() {
    std::random_device random;
    FPath = fs::temp_directory_path() / ("prompt-" + std::to_string(random()));
    fs::create_directories(FPath);
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    fs::remove_all(FPath, ignored);
}

std::vector<std::string> ScratchFolder::names() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(FPath)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace quorvel::test
