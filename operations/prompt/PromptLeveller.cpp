#include "operations/prompt/PromptLeveller.h"

#include "config/PromptFile.h"
#include "operations/prompt/PromptFiles.h"
#include "operations/prompt/PromptWaveform.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <vector>

namespace quorvel {

namespace {

// Calls Visit(samples, count, first sample index) for every block of the data.
template <typename TVisit>
void ForEachBlock(PromptReader& Prompt, TVisit Visit) {
    std::vector<std::int16_t> samples(PromptBlockSamples);
    for (std::uint64_t done = 0;;) {
        const std::size_t count = Prompt.readAt(done, samples.data(), samples.size());
        if (count == 0) return;
        Visit(samples.data(), count, static_cast<std::int64_t>(done));
        done += count;
    }
}

}  // namespace

TPromptSummary LevelPromptFile(const std::string& Path, TLevelMode Mode, int WaveformColumns, FileSystem& Files) {
    PromptReader prompt(Files);
    const PromptVerdict& verdict =
        prompt.open(Path, Mode == TLevelMode::None ? PromptReader::Access::Read : PromptReader::Access::Update);
    if (verdict.state == PromptState::Missing) throw std::runtime_error("Não foi possível abrir o arquivo convertido.");
    if (verdict.state != PromptState::Playable) throw std::runtime_error(UnplayableConversionText(verdict.reason));
    const auto samples = static_cast<std::int64_t>(prompt.sampleCount());
    if (samples == 0) throw std::runtime_error("O arquivo convertido não tem áudio.");

    TPromptSummary summary;
    summary.SampleRate = static_cast<int>(prompt.sampleRate());
    summary.Channels = 1;
    summary.Frames = samples;
    TLevelMeasure before(summary.SampleRate);
    TWaveformColumns waveform(static_cast<std::size_t>(std::max(1, WaveformColumns)), samples);
    ForEachBlock(prompt, [&](const std::int16_t* Samples, std::size_t Count, std::int64_t First) {
        before.Add(Samples, Count);
        waveform.Add(Samples, Count, First);
    });
    const TLevelPlan plan = PlanLevelling(Mode, before);
    summary.PeakBefore = before.Peak;
    summary.PeakAfter = before.Peak;
    summary.Gain = plan.Gain();
    summary.TargetReached = plan.TargetReached;
    summary.Waveform = waveform.Take();
    summary.SpeechLevelDbm0 = before.Speech.ActiveLevelDbm0();
    if (Mode == TLevelMode::None || plan.Gain() == 1.0) {
        // Left as it is, the file is final already.
        prompt.startWriteback();
        return summary;
    }

    const TLevelTable table(plan);
    ForEachBlock(prompt, [&](std::int16_t* Samples, std::size_t Count, std::int64_t First) {
        table.Apply(Samples, Count);
        prompt.writeAt(static_cast<std::uint64_t>(First), Samples, Count);
        // The disk starts on each block once it is final.
        prompt.startWriteback();
    });
    // Levelling is monotonic and never clips: extremes map to extremes.
    summary.PeakAfter = std::abs(plan.Level(static_cast<std::int16_t>(-before.Peak)));
    for (auto& [low, high] : summary.Waveform) {
        low = plan.Level(low);
        high = plan.Level(high);
    }
    if (summary.SpeechLevelDbm0) *summary.SpeechLevelDbm0 += 20 * std::log10(plan.Gain());
    return summary;
}

}  // namespace quorvel
