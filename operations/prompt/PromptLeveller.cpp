#include "operations/prompt/PromptLeveller.h"

#include "config/ReadAt.h"
#include "riff/RiffChunks.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <vector>

namespace quorvel {

namespace {

constexpr std::size_t BlockSamples = 32768;
constexpr std::uint32_t MinimumRate = 1000;
constexpr std::uint32_t MaximumRate = 384000;

// The converted file, read and written at explicit offsets.
class TFile {
public:
    TFile(const std::string& Path, bool Writing)
        : handle_(::open(Path.c_str(), (Writing ? O_RDWR : O_RDONLY) | O_CLOEXEC)) {}
    ~TFile() {
        if (handle_ >= 0) ::close(handle_);
    }
    TFile(const TFile&) = delete;
    TFile& operator=(const TFile&) = delete;

    bool IsOpen() const { return handle_ >= 0; }
    std::int64_t Size() const {
        struct stat status {};
        return ::fstat(handle_, &status) == 0 ? static_cast<std::int64_t>(status.st_size) : -1;
    }
    // Bytes read at Offset, fewer only at the end of the file or on an error.
    std::size_t ReadAt(std::uint64_t Offset, std::uint8_t* Into, std::size_t Count) const {
        return readAt(handle_, Offset, Into, Count);
    }
    bool WriteAt(std::uint64_t Offset, const std::uint8_t* From, std::size_t Count) const {
        std::size_t done = 0;
        while (done < Count) {
            const ssize_t put = ::pwrite(handle_, From + done, Count - done, static_cast<off_t>(Offset + done));
            if (put < 0 && errno == EINTR) continue;
            if (put <= 0) return false;
            done += static_cast<std::size_t>(put);
        }
        return true;
    }

    // Lets the disk start writing what is final while the samples are still
    // being measured. Only a head start: the install's sync is what makes
    // the prompt safe, so a file system without it loses nothing.
    void StartWriteback(std::uint64_t Offset, std::size_t Count) const {
        ::sync_file_range(handle_, static_cast<off_t>(Offset), static_cast<off_t>(Count), SYNC_FILE_RANGE_WRITE);
    }

private:
    int handle_;
};

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

TPcmLayout ReadLayout(const TFile& File) {
    const std::int64_t fileBytes = File.Size();
    std::array<std::uint8_t, 12> riff{};
    if (fileBytes < 0 || File.ReadAt(0, riff.data(), riff.size()) != riff.size())
        throw std::runtime_error("O arquivo convertido está incompleto.");
    if (std::memcmp(riff.data(), "RIFF", 4) != 0 || std::memcmp(riff.data() + 8, "WAVE", 4) != 0)
        throw std::runtime_error("O arquivo convertido não é PCM de 16 bits.");
    RiffChunkWalk walk([&File](std::uint64_t Offset, std::uint8_t* Into,
                               std::size_t Count) -> std::size_t { return File.ReadAt(Offset, Into, Count); },
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
            if (File.ReadAt(chunk.bodyOffset, format.data(), format.size()) != format.size()) break;
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
void ForEachBlock(const TFile& File, const TPcmLayout& Layout, TVisit Visit) {
    std::vector<std::uint8_t> bytes(BlockSamples * 2);
    std::vector<std::int16_t> samples(BlockSamples);
    for (std::int64_t done = 0; done < Layout.Samples;) {
        const auto count = static_cast<std::size_t>(std::min<std::int64_t>(BlockSamples, Layout.Samples - done));
        if (File.ReadAt(static_cast<std::uint64_t>(Layout.DataStart + done * 2), bytes.data(), count * 2) != count * 2)
            throw std::runtime_error("Não foi possível ler o arquivo convertido.");
        for (std::size_t i = 0; i < count; ++i) samples[i] = static_cast<std::int16_t>(ReadLe16(bytes.data() + 2 * i));
        Visit(samples.data(), count, done);
        done += static_cast<std::int64_t>(count);
    }
}

void WriteBlock(const TFile& File, std::int64_t DataStart, std::int64_t FirstSample, const std::int16_t* Samples,
                std::size_t Count, std::vector<std::uint8_t>& Bytes) {
    Bytes.resize(Count * 2);
    for (std::size_t i = 0; i < Count; ++i) {
        const auto value = static_cast<std::uint16_t>(Samples[i]);
        Bytes[2 * i] = static_cast<std::uint8_t>(value);
        Bytes[2 * i + 1] = static_cast<std::uint8_t>(value >> 8);
    }
    const auto offset = static_cast<std::uint64_t>(DataStart + FirstSample * 2);
    if (!File.WriteAt(offset, Bytes.data(), Bytes.size()))
        throw std::runtime_error("Não foi possível gravar o arquivo convertido.");
    File.StartWriteback(offset, Bytes.size());
}

}  // namespace

TPromptSummary LevelPromptFile(const std::string& Path, TLevelMode Mode, int WaveformColumns) {
    const TFile file(Path, Mode != TLevelMode::None);
    if (!file.IsOpen()) throw std::runtime_error("Não foi possível abrir o arquivo convertido.");
    const TPcmLayout layout = ReadLayout(file);
    // The meters run on interleaved samples, so their time constants are
    // kept right by counting every channel's samples.
    const int meterRate = std::max(1, layout.SampleRate * layout.Channels);

    // Left as it is, the samples are measured once: the first pass would
    // find what the second finds. A peak plan needs only the peak.
    TLevelMeasure before(meterRate);
    if (Mode == TLevelMode::Peak)
        ForEachBlock(file, layout, [&](const std::int16_t* Samples, std::size_t Count, std::int64_t) {
            before.AddPeak(Samples, Count);
        });
    else if (Mode == TLevelMode::Speech)
        ForEachBlock(file, layout,
                     [&](const std::int16_t* Samples, std::size_t Count, std::int64_t) { before.Add(Samples, Count); });
    const TLevelPlan plan = PlanLevelling(Mode, before);
    const bool rewrite = Mode != TLevelMode::None && plan.Gain() != 1.0;
    // Left as it is, the file is final already; rewritten, each block is
    // sent on once it is written.
    if (!rewrite) file.StartWriteback(0, 0);
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
    std::vector<std::uint8_t> written;
    const auto columnCount = static_cast<std::int64_t>(columns);
    ForEachBlock(file, layout, [&](const std::int16_t* Samples, std::size_t Count, std::int64_t First) {
        std::copy(Samples, Samples + Count, levelled.begin());
        if (table) {
            table->Apply(levelled.data(), Count);
            WriteBlock(file, layout.DataStart, First, levelled.data(), Count, written);
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
    if (Mode == TLevelMode::None) summary.PeakBefore = after.Peak;
    summary.PeakAfter = after.Peak;
    summary.SpeechLevelDbm0 = after.Speech.ActiveLevelDbm0();
    return summary;
}

}  // namespace quorvel
