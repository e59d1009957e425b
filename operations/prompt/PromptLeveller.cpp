#include "operations/prompt/PromptLeveller.h"

#include "riff/RiffChunks.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <stdexcept>

namespace quorvel {

namespace {

constexpr std::size_t BlockSamples = 32768;
constexpr std::uint32_t MinimumRate = 1000;
constexpr std::uint32_t MaximumRate = 384000;

struct TFileCloser {
    void operator()(std::FILE* File) const { std::fclose(File); }
};
using TFile = std::unique_ptr<std::FILE, TFileCloser>;

std::uint32_t ReadLe32(const std::uint8_t* Bytes) {
    return Bytes[0] | (Bytes[1] << 8) | (Bytes[2] << 16) | (std::uint32_t{Bytes[3]} << 24);
}
std::uint16_t ReadLe16(const std::uint8_t* Bytes) { return static_cast<std::uint16_t>(Bytes[0] | (Bytes[1] << 8)); }

struct TPcmLayout {
    int SampleRate = 0;
    int Channels = 0;
    std::int64_t DataStart = 0;
    std::int64_t Samples = 0;  // all channels
};

TPcmLayout ReadLayout(std::FILE* File) {
    std::fseek(File, 0, SEEK_END);
    const long fileBytes = std::ftell(File);
    std::array<std::uint8_t, 12> riff{};
    std::fseek(File, 0, SEEK_SET);
    if (fileBytes < 0 || std::fread(riff.data(), 1, riff.size(), File) != riff.size())
        throw std::runtime_error("O arquivo convertido está incompleto.");
    if (std::memcmp(riff.data(), "RIFF", 4) != 0 || std::memcmp(riff.data() + 8, "WAVE", 4) != 0)
        throw std::runtime_error("O arquivo convertido não é PCM de 16 bits.");
    RiffChunkWalk walk(
        [File](std::uint64_t Offset, std::uint8_t* Into, std::size_t Count) -> std::size_t {
            if (std::fseek(File, static_cast<long>(Offset), SEEK_SET) != 0) return 0;
            return std::fread(Into, 1, Count, File);
        },
        riff.size(), static_cast<std::uint64_t>(fileBytes));
    std::array<std::uint8_t, 16> format{};
    bool haveFormat = false;
    RiffChunk chunk;
    // Less data than the header promises means a write was cut short: such
    // a prompt would stop in the middle of the menu.
    while (walk.next(chunk, true)) {
        if (chunk.size > static_cast<std::uint64_t>(fileBytes) - chunk.bodyOffset) {
            if (std::memcmp(chunk.tag, "data", 4) == 0 && haveFormat)
                throw std::runtime_error("O arquivo convertido está incompleto.");
            break;
        }
        if (std::memcmp(chunk.tag, "fmt ", 4) == 0 && chunk.size == format.size()) {
            if (std::fseek(File, static_cast<long>(chunk.bodyOffset), SEEK_SET) != 0 ||
                std::fread(format.data(), 1, format.size(), File) != format.size())
                break;
            haveFormat = true;
        } else if (std::memcmp(chunk.tag, "data", 4) == 0 && haveFormat) {
            const int channels = ReadLe16(format.data() + 2);
            if (ReadLe16(format.data()) != 1 || ReadLe16(format.data() + 14) != 16 || channels == 0) break;
            // Outside this range no telephone plays it, and a damaged header's
            // rate would not even fit the summary.
            const std::uint32_t rate = ReadLe32(format.data() + 4);
            if (rate < MinimumRate || rate > MaximumRate)
                throw std::runtime_error("A taxa de amostragem do arquivo convertido não é suportada.");
            TPcmLayout layout;
            layout.SampleRate = static_cast<int>(rate);
            layout.Channels = channels;
            layout.DataStart = static_cast<std::int64_t>(chunk.bodyOffset);
            layout.Samples = std::int64_t{chunk.size} / 2 / channels * channels;
            if (layout.Samples == 0) throw std::runtime_error("O arquivo convertido não tem áudio.");
            return layout;
        }
    }
    throw std::runtime_error("O arquivo convertido não é PCM de 16 bits.");
}

// Calls Visit(samples, count, first sample index) for every block of the data.
template <typename TVisit>
void ForEachBlock(std::FILE* File, const TPcmLayout& Layout, TVisit Visit) {
    std::vector<std::uint8_t> bytes(BlockSamples * 2);
    std::vector<std::int16_t> samples(BlockSamples);
    for (std::int64_t done = 0; done < Layout.Samples;) {
        const auto count = static_cast<std::size_t>(std::min<std::int64_t>(BlockSamples, Layout.Samples - done));
        // Positioned before every read: the visitor may have written.
        if (std::fseek(File, static_cast<long>(Layout.DataStart + done * 2), SEEK_SET) != 0 ||
            std::fread(bytes.data(), 2, count, File) != count)
            throw std::runtime_error("Não foi possível ler o arquivo convertido.");
        for (std::size_t i = 0; i < count; ++i) samples[i] = static_cast<std::int16_t>(ReadLe16(bytes.data() + 2 * i));
        Visit(samples.data(), count, done);
        done += static_cast<std::int64_t>(count);
    }
}

void WriteBlock(std::FILE* File, std::int64_t DataStart, std::int64_t FirstSample, const std::int16_t* Samples,
                std::size_t Count) {
    std::vector<std::uint8_t> bytes(Count * 2);
    for (std::size_t i = 0; i < Count; ++i) {
        const auto value = static_cast<std::uint16_t>(Samples[i]);
        bytes[2 * i] = static_cast<std::uint8_t>(value);
        bytes[2 * i + 1] = static_cast<std::uint8_t>(value >> 8);
    }
    if (std::fseek(File, static_cast<long>(DataStart + FirstSample * 2), SEEK_SET) != 0 ||
        std::fwrite(bytes.data(), 1, bytes.size(), File) != bytes.size())
        throw std::runtime_error("Não foi possível gravar o arquivo convertido.");
}

}  // namespace

TPromptSummary LevelPromptFile(const std::string& Path, TLevelMode Mode, int WaveformColumns) {
    TFile file(std::fopen(Path.c_str(), Mode == TLevelMode::None ? "rb" : "r+b"));
    if (!file) throw std::runtime_error("Não foi possível abrir o arquivo convertido.");
    const TPcmLayout layout = ReadLayout(file.get());
    // The meters run on interleaved samples, so their time constants are
    // kept right by counting every channel's samples.
    const int meterRate = std::max(1, layout.SampleRate * layout.Channels);

    // Left as it is, the samples are measured once: the first pass would
    // find what the second finds. A peak plan needs only the peak.
    TLevelMeasure before(meterRate);
    if (Mode == TLevelMode::Peak)
        ForEachBlock(file.get(), layout, [&](const std::int16_t* Samples, std::size_t Count, std::int64_t) {
            before.AddPeak(Samples, Count);
        });
    else if (Mode == TLevelMode::Speech)
        ForEachBlock(file.get(), layout,
                     [&](const std::int16_t* Samples, std::size_t Count, std::int64_t) { before.Add(Samples, Count); });
    const TLevelPlan plan = PlanLevelling(Mode, before);
    const bool rewrite = Mode != TLevelMode::None && plan.Gain() != 1.0;
    const std::optional<TLevelTable> table = rewrite ? std::optional<TLevelTable>(plan) : std::nullopt;

    TPromptSummary summary;
    summary.SampleRate = layout.SampleRate;
    summary.Channels = layout.Channels;
    summary.Frames = layout.Samples / layout.Channels;
    summary.PeakBefore = before.Peak;
    summary.Gain = plan.Gain();
    summary.TargetReached = plan.TargetReached;
    const std::size_t columns = summary.Frames == 0 ? 0 : static_cast<std::size_t>(std::max(1, WaveformColumns));
    summary.Waveform.assign(columns, {0, 0});
    std::vector<bool> touched(columns, false);

    TLevelMeasure after(meterRate);
    std::vector<std::int16_t> levelled(BlockSamples);
    const auto columnCount = static_cast<std::int64_t>(columns);
    ForEachBlock(file.get(), layout, [&](const std::int16_t* Samples, std::size_t Count, std::int64_t First) {
        std::copy(Samples, Samples + Count, levelled.begin());
        if (table) {
            table->Apply(levelled.data(), Count);
            WriteBlock(file.get(), layout.DataStart, First, levelled.data(), Count);
        }
        after.Add(levelled.data(), Count);
        // Column by column: frame f is in column f * columns / frames, so a
        // column's frames start at the first f with f * columns >= column * frames.
        for (std::size_t i = 0; i < Count;) {
            const std::int64_t frame = (First + static_cast<std::int64_t>(i)) / layout.Channels;
            const std::int64_t column = frame * columnCount / summary.Frames;
            const std::int64_t nextFrame = ((column + 1) * summary.Frames + columnCount - 1) / columnCount;
            const auto end = static_cast<std::size_t>(
                std::min<std::int64_t>(static_cast<std::int64_t>(Count), nextFrame * layout.Channels - First));
            const auto [low, high] = std::minmax_element(levelled.begin() + static_cast<std::ptrdiff_t>(i),
                                                         levelled.begin() + static_cast<std::ptrdiff_t>(end));
            auto& [columnLow, columnHigh] = summary.Waveform[static_cast<std::size_t>(column)];
            if (!touched[static_cast<std::size_t>(column)]) {
                columnLow = *low;
                columnHigh = *high;
                touched[static_cast<std::size_t>(column)] = true;
            }
            columnLow = std::min(columnLow, *low);
            columnHigh = std::max(columnHigh, *high);
            i = end;
        }
    });
    if (std::fflush(file.get()) != 0) throw std::runtime_error("Não foi possível gravar o arquivo convertido.");
    if (Mode == TLevelMode::None) summary.PeakBefore = after.Peak;
    summary.PeakAfter = after.Peak;
    summary.SpeechLevelDbm0 = after.Speech.ActiveLevelDbm0();
    return summary;
}

}  // namespace quorvel
