#include "operations/prompt/PromptTrim.h"

#include "config/PromptFile.h"
#include "operations/levelling/SpeechLevel.h"
#include "operations/prompt/PromptFiles.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

namespace quorvel {

namespace {

// The frames [first, last) to keep of Frames frames around an active span.
std::optional<std::pair<std::size_t, std::size_t>> RangeAround(
    const std::optional<std::pair<std::uint64_t, std::uint64_t>>& Span, std::size_t Frames, int SampleRate,
    int Channels) {
    if (!Span) return std::nullopt;
    const auto frameOf = [Channels](std::uint64_t Sample) { return static_cast<std::size_t>(Sample) / Channels; };
    const auto leadIn = static_cast<std::size_t>(TrimLeadInSeconds * SampleRate);
    const auto tail = static_cast<std::size_t>(TrimTailSeconds * SampleRate);
    const std::size_t firstActive = frameOf(Span->first);
    const std::size_t first = firstActive > leadIn ? firstActive - leadIn : 0;
    const std::size_t last = std::min(Frames, frameOf(Span->second) + 1 + tail);
    return std::pair{first, last};
}

}  // namespace

std::optional<std::pair<std::size_t, std::size_t>> TrimmedRange(const std::int16_t* Samples, std::size_t Count,
                                                                int SampleRate, int Channels) {
    const int channels = std::max(1, Channels);
    // Interleaved samples keep the meter's time constants right when every
    // channel's samples are counted.
    TSpeechLevelMeter meter(std::max(1, SampleRate * channels));
    meter.Add(Samples, Count);
    const auto range =
        RangeAround(meter.ActiveSpan(), Count / static_cast<std::size_t>(channels), SampleRate, channels);
    if (!range) return std::nullopt;
    return std::pair{range->first * channels, range->second * channels};
}

void TrimPromptFile(const std::string& Path, FileSystem& Files) {
    PromptReader prompt(Files);
    const PromptVerdict& verdict = prompt.open(Path, PromptReader::Access::Update);
    if (verdict.state == PromptState::Missing) throw std::runtime_error("Não foi possível abrir o arquivo convertido.");
    if (verdict.state != PromptState::Playable) throw std::runtime_error(UnplayableConversionText(verdict.reason));
    const auto rate = static_cast<int>(prompt.sampleRate());
    TSpeechLevelMeter meter(rate);
    std::vector<std::int16_t> block(PromptBlockSamples);
    while (const std::size_t count = prompt.read(block.data(), block.size())) meter.Add(block.data(), count);
    const auto count = static_cast<std::size_t>(prompt.sampleCount());
    const auto range = RangeAround(meter.ActiveSpan(), count, rate, 1);
    if (!range || (range->first == 0 && range->second == count)) return;
    // Moved towards the start a block at a time: a block is read before any
    // write reaches it.
    for (std::size_t from = range->first; from < range->second;) {
        const std::size_t got = prompt.readAt(from, block.data(), std::min(block.size(), range->second - from));
        prompt.writeAt(from - range->first, block.data(), got);
        from += got;
    }
    prompt.shorten(range->second - range->first);
}

}  // namespace quorvel
