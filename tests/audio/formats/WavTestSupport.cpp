#include "WavTestSupport.h"

#include "../pipeline/TestSupport.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace quorvel::test {

namespace fs = std::filesystem;

TPcmSource::TPcmSource(std::vector<std::uint8_t> Data, int Bits, int Channels, int Rate, std::uint32_t BlockBytes)
    : FData(std::move(Data)),
      FBits(Bits),
      FChannels(Channels),
      FRate(Rate),
      FBlockBytes(BlockBytes),
      FReportedSize(static_cast<std::int64_t>(FData.size())) {}

void TPcmSource::DoOpen() {
    FBusy = true;
    FPosition = 0;
    FOffset = 0;
    FSize = FReportedSize;
}

void TPcmSource::DoRead(const std::uint8_t*& Buffer, std::uint32_t& Bytes) {
    if (!FFailure.empty()) throw std::runtime_error(FFailure);
    const std::size_t left = FData.size() - FOffset;
    Bytes = static_cast<std::uint32_t>(std::min<std::size_t>({Bytes, FBlockBytes, left}));
    Buffer = FData.data() + FOffset;
    FOffset += Bytes;
    FPosition += Bytes;
}

std::vector<std::uint8_t> Le16(const std::vector<std::int16_t>& Samples) {
    std::vector<std::uint8_t> bytes(Samples.size() * 2);
    for (std::size_t i = 0; i < Samples.size(); ++i) {
        bytes[2 * i] = static_cast<std::uint8_t>(Samples[i]);
        bytes[2 * i + 1] = static_cast<std::uint8_t>(static_cast<std::uint16_t>(Samples[i]) >> 8);
    }
    return bytes;
}

std::vector<std::int16_t> FromLe16(const std::vector<std::uint8_t>& Bytes) {
    std::vector<std::int16_t> samples(Bytes.size() / 2);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<std::int16_t>(Bytes[2 * i] | Bytes[2 * i + 1] << 8);
    return samples;
}

std::vector<std::int16_t> TestSignal(std::size_t Frames, int Channels) {
    std::mt19937 random(1234);
    std::uniform_int_distribution<int> noise(-3000, 3000);
    std::vector<std::int16_t> samples(Frames * static_cast<std::size_t>(Channels));
    for (std::size_t f = 0; f < Frames; ++f) {
        for (int c = 0; c < Channels; ++c) {
            const double tone = 26000.0 * std::sin(double(f) * (0.01 + 0.013 * c)) * std::sin(double(f) * 0.0007);
            const double value = std::clamp(tone + noise(random), -32768.0, 32767.0);
            samples[f * static_cast<std::size_t>(Channels) + static_cast<std::size_t>(c)] =
                static_cast<std::int16_t>(value);
        }
    }
    return samples;
}

std::vector<std::uint8_t> PatternBytes(std::size_t Count) {
    std::mt19937 random(99);
    std::vector<std::uint8_t> bytes(Count);
    for (auto& byte : bytes) byte = static_cast<std::uint8_t>(random());
    return bytes;
}

std::vector<std::uint8_t> ReadFile(const fs::path& Path) {
    std::ifstream in(Path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const fs::path& Path, const std::vector<std::uint8_t>& Bytes) {
    std::ofstream out(Path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(Bytes.data()), static_cast<std::streamsize>(Bytes.size()));
}

std::string RunToEnd(TWaveOut& Writer) {
    bool done = false;
    Writer.SetOnDone([&](TAuOutput&) { done = true; });
    Writer.Start();
    if (!PumpUntil([&] { return done; }, std::chrono::seconds(60))) ADD_FAILURE() << "the run did not end";
    return Writer.ErrorText();
}

std::vector<std::uint8_t> ReadAll(TAuInput& Input, std::uint32_t Request) {
    std::vector<std::uint8_t> bytes;
    for (;;) {
        const std::uint8_t* buffer = nullptr;
        std::uint32_t count = Request;
        Input.Read(buffer, count);
        if (count == 0) break;
        bytes.insert(bytes.end(), buffer, buffer + count);
    }
    return bytes;
}

std::vector<std::uint8_t> ReadWave(const fs::path& Path, std::uint32_t Request) {
    TWaveIn reader;
    reader.SetFileName(Path.string());
    reader.Open();
    auto bytes = ReadAll(reader, Request);
    reader.Close();
    return bytes;
}

bool Shell(const std::string& Command) { return std::system((Command + " >/dev/null 2>&1").c_str()) == 0; }

std::vector<std::int16_t> FfmpegDecode(const fs::path& Path) {
    const fs::path raw = Path.string() + ".raw";
    if (!Shell("ffmpeg -y -v error -i '" + Path.string() + "' -f s16le -c:a pcm_s16le '" + raw.string() + "'"))
        return {};
    return FromLe16(ReadFile(raw));
}

void WavFiles::SetUp() {
    // Parameterised test names hold "/".
    std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    std::replace(name.begin(), name.end(), '/', '_');
    FFolder = fs::temp_directory_path() / ("quorvel-wav-" + std::to_string(::getpid()) + "-" + name);
    fs::remove_all(FFolder);
    fs::create_directories(FFolder);
}

void WavFiles::TearDown() { fs::remove_all(FFolder); }

}  // namespace quorvel::test
