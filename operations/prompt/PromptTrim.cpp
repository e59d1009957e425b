#include "operations/prompt/PromptTrim.h"

#include "operations/levelling/SpeechLevel.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <vector>

namespace quorvel {

namespace {

constexpr std::size_t HeaderBytes = 44;

struct TFileCloser {
    void operator()(std::FILE* File) const { std::fclose(File); }
};

std::uint32_t ReadLe(const std::uint8_t* Bytes, int Count) {
    std::uint32_t value = 0;
    for (int i = Count - 1; i >= 0; --i) value = (value << 8) | Bytes[i];
    return value;
}

void PutLe32(std::uint8_t* At, std::uint32_t Value) {
    for (int i = 0; i < 4; ++i) At[i] = static_cast<std::uint8_t>(Value >> (8 * i));
}

[[noreturn]] void Unreadable() { throw std::runtime_error("Não foi possível ler o arquivo convertido."); }
[[noreturn]] void Unwritable() { throw std::runtime_error("Não foi possível gravar o arquivo convertido."); }

}  // namespace

std::optional<std::pair<std::size_t, std::size_t>> TrimmedRange(const std::int16_t* Samples, std::size_t Count,
                                                                int SampleRate, int Channels) {
    const int channels = std::max(1, Channels);
    // Interleaved samples keep the meter's time constants right when every
    // channel's samples are counted.
    TSpeechLevelMeter meter(std::max(1, SampleRate * channels));
    meter.Add(Samples, Count);
    const auto span = meter.ActiveSpan();
    if (!span) return std::nullopt;
    const auto frameOf = [channels](std::uint64_t Sample) { return static_cast<std::size_t>(Sample) / channels; };
    const std::size_t frames = Count / static_cast<std::size_t>(channels);
    const auto leadIn = static_cast<std::size_t>(TrimLeadInSeconds * SampleRate);
    const auto tail = static_cast<std::size_t>(TrimTailSeconds * SampleRate);
    const std::size_t firstActive = frameOf(span->first);
    const std::size_t first = firstActive > leadIn ? firstActive - leadIn : 0;
    const std::size_t last = std::min(frames, frameOf(span->second) + 1 + tail);
    return std::pair{first * channels, last * channels};
}

void TrimPromptFile(const std::string& Path) {
    std::unique_ptr<std::FILE, TFileCloser> file(std::fopen(Path.c_str(), "r+b"));
    if (!file) Unreadable();
    std::uint8_t header[HeaderBytes];
    if (std::fread(header, 1, HeaderBytes, file.get()) != HeaderBytes || std::memcmp(header, "RIFF", 4) != 0 ||
        std::memcmp(header + 36, "data", 4) != 0 || ReadLe(header + 34, 2) != 16)
        Unreadable();
    const int channels = static_cast<int>(ReadLe(header + 22, 2));
    const int rate = static_cast<int>(ReadLe(header + 24, 4));
    std::vector<std::int16_t> samples(ReadLe(header + 40, 4) / 2);
    if (std::fread(samples.data(), 2, samples.size(), file.get()) != samples.size()) Unreadable();

    const auto range = TrimmedRange(samples.data(), samples.size(), rate, channels);
    if (!range || (range->first == 0 && range->second == samples.size())) return;
    const std::size_t kept = range->second - range->first;
    PutLe32(header + 4, static_cast<std::uint32_t>(36 + kept * 2));
    PutLe32(header + 40, static_cast<std::uint32_t>(kept * 2));
    if (std::fseek(file.get(), 0, SEEK_SET) != 0 || std::fwrite(header, 1, HeaderBytes, file.get()) != HeaderBytes ||
        std::fwrite(samples.data() + range->first, 2, kept, file.get()) != kept || std::fflush(file.get()) != 0)
        Unwritable();
    file.reset();
    std::error_code error;
    std::filesystem::resize_file(Path, HeaderBytes + kept * 2, error);
    if (error) Unwritable();
}

}  // namespace quorvel
