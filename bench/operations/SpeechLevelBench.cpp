#include "operations/levelling/SpeechLevel.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

namespace {

constexpr int Rate = 44100;

// Syllables of noise with pauses: the envelope crosses thresholds all the
// time, as in a spoken prompt.
std::vector<std::int16_t> SpeechLike(std::size_t Count) {
    std::mt19937 random(5);
    std::normal_distribution<double> noise(0.0, 1.0);
    std::uniform_real_distribution<double> uniform(0.0, 1.0);
    std::vector<std::int16_t> samples;
    samples.reserve(Count);
    while (samples.size() < Count) {
        const auto syllable = static_cast<std::size_t>((0.08 + 0.25 * uniform(random)) * Rate);
        const double loudness = 300.0 + 6000.0 * uniform(random);
        for (std::size_t i = 0; i < syllable && samples.size() < Count; ++i)
            samples.push_back(static_cast<std::int16_t>(
                std::lround(loudness * std::sin(3.14159 * static_cast<double>(i) / static_cast<double>(syllable)) *
                            noise(random))));
        const auto pause = static_cast<std::size_t>(0.2 * Rate * uniform(random));
        for (std::size_t i = 0; i < pause && samples.size() < Count; ++i) samples.push_back(0);
    }
    return samples;
}

// Samples per second of the meter on a 3-minute recording fed in 32768-sample
// blocks, as the leveller reads a prompt. Target: 200 million per second.
void SpeechLevelMeter(benchmark::State& State) {
    const auto samples = SpeechLike(static_cast<std::size_t>(180) * Rate);
    for (auto _ : State) {
        quorvel::TSpeechLevelMeter meter(Rate);
        for (std::size_t at = 0; at < samples.size(); at += 32768)
            meter.Add(samples.data() + at, std::min<std::size_t>(32768, samples.size() - at));
        benchmark::DoNotOptimize(meter.ActiveLevelDbm0());
        benchmark::DoNotOptimize(meter.ActiveSpan());
    }
    State.SetItemsProcessed(static_cast<std::int64_t>(State.iterations()) * static_cast<std::int64_t>(samples.size()));
}
BENCHMARK(SpeechLevelMeter)->Unit(benchmark::kMillisecond);

}  // namespace
