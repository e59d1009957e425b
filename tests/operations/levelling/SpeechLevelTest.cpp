#include "operations/levelling/SpeechLevel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <string>
#include <vector>

namespace quorvel::test {
namespace {

constexpr int Rate = 8000;

// The meter as first written: every threshold tested for every sample. The
// fast meter must agree with it.
class TReferenceMeter {
public:
    explicit TReferenceMeter(int SampleRate)
        : smoothing_(std::exp(-1.0 / (0.03 * SampleRate))),
          hangover_(static_cast<std::uint64_t>(std::ceil(0.2 * SampleRate))) {
        for (auto& since : sinceActive_) since = hangover_;
    }

    void add(const std::vector<std::int16_t>& Samples) {
        for (const auto sample : Samples) {
            const double value = sample;
            sumOfSquares_ += value * value;
            envelope1_ = smoothing_ * envelope1_ + (1.0 - smoothing_) * std::abs(value);
            envelope2_ = smoothing_ * envelope2_ + (1.0 - smoothing_) * envelope1_;
            for (int j = 0; j < 16; ++j) {
                bool active = false;
                if (envelope2_ >= std::ldexp(1.0, j)) {
                    active = true;
                    sinceActive_[j] = 0;
                } else if (sinceActive_[j] < hangover_) {
                    active = true;
                    ++sinceActive_[j];
                }
                if (!active) continue;
                if (active_[j] == 0) first_[j] = count_;
                last_[j] = count_;
                ++active_[j];
            }
            ++count_;
        }
    }

    // Level in dBm0 and the threshold below the crossing (the one the span uses).
    std::optional<std::pair<double, int>> level() const {
        if (sumOfSquares_ <= 0) return std::nullopt;
        double previousLevel = 0;
        double previousDistance = 0;
        for (int j = 0; j < 16; ++j) {
            if (active_[j] == 0) return j == 0 ? std::nullopt : std::optional{std::pair{dbm0(previousLevel), j - 1}};
            const double level = 10.0 * std::log10(sumOfSquares_ / static_cast<double>(active_[j]));
            const double distance = level - 20.0 * std::log10(std::ldexp(1.0, j));
            if (distance <= 15.9) {
                if (j == 0) return std::pair{dbm0(level), 0};
                const double t = (previousDistance - 15.9) / (previousDistance - distance);
                return std::pair{dbm0(previousLevel + t * (level - previousLevel)), j - 1};
            }
            previousLevel = level;
            previousDistance = distance;
        }
        return std::pair{dbm0(previousLevel), 15};
    }

    std::optional<std::pair<std::uint64_t, std::uint64_t>> span() const {
        const auto chosen = level();
        if (!chosen) return std::nullopt;
        return std::pair{first_[chosen->second], last_[chosen->second]};
    }

private:
    static double dbm0(double LevelDb) { return LevelDb - 20.0 * std::log10(23170.0); }

    double smoothing_;
    std::uint64_t hangover_;
    double envelope1_ = 0;
    double envelope2_ = 0;
    double sumOfSquares_ = 0;
    std::uint64_t count_ = 0;
    std::uint64_t active_[16] = {};
    std::uint64_t sinceActive_[16] = {};
    std::uint64_t first_[16] = {};
    std::uint64_t last_[16] = {};
};

std::vector<std::int16_t> Tone(double Amplitude, double Seconds, double Frequency = 1000.0) {
    std::vector<std::int16_t> samples(static_cast<std::size_t>(Seconds * Rate));
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<std::int16_t>(
            std::lround(Amplitude * std::sin(2.0 * std::numbers::pi * Frequency * static_cast<double>(i) / Rate)));
    return samples;
}

std::vector<std::int16_t> Silence(double Seconds) {
    return std::vector<std::int16_t>(static_cast<std::size_t>(Seconds * Rate), 0);
}

// Noise shaped into syllables of varying loudness with pauses between
// words, over a faint background hiss.
std::vector<std::int16_t> SpeechLike(unsigned Seed, double Seconds) {
    std::mt19937 random(Seed);
    std::normal_distribution<double> noise(0.0, 1.0);
    std::uniform_real_distribution<double> uniform(0.0, 1.0);
    std::vector<std::int16_t> samples;
    double lowPass = 0;
    while (samples.size() < static_cast<std::size_t>(Seconds * Rate)) {
        const auto syllable = static_cast<std::size_t>((0.08 + 0.25 * uniform(random)) * Rate);
        const double loudness = 300.0 + 6000.0 * uniform(random);
        for (std::size_t i = 0; i < syllable; ++i) {
            lowPass = 0.7 * lowPass + 0.3 * noise(random);
            const double shape = std::sin(std::numbers::pi * static_cast<double>(i) / static_cast<double>(syllable));
            samples.push_back(static_cast<std::int16_t>(std::lround(loudness * shape * lowPass + 3.0 * noise(random))));
        }
        const auto pause = static_cast<std::size_t>(uniform(random) < 0.3 ? 0.4 * Rate : 0.03 * Rate);
        for (std::size_t i = 0; i < pause; ++i)
            samples.push_back(static_cast<std::int16_t>(std::lround(3.0 * noise(random))));
    }
    return samples;
}

std::vector<std::int16_t> Joined(std::initializer_list<std::vector<std::int16_t>> Parts) {
    std::vector<std::int16_t> all;
    for (const auto& part : Parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

TSpeechLevelMeter Measured(const std::vector<std::int16_t>& Samples, std::size_t Block) {
    TSpeechLevelMeter meter(Rate);
    for (std::size_t at = 0; at < Samples.size(); at += Block)
        meter.Add(Samples.data() + at, std::min(Block, Samples.size() - at));
    return meter;
}

struct TSignal {
    std::string Name;
    std::vector<std::int16_t> Samples;
};

std::vector<TSignal> Signals() {
    return {
        {"speech", SpeechLike(1, 12.0)},
        {"speech, other voice", SpeechLike(7, 30.0)},
        {"quiet speech",
         [] {
             auto samples = SpeechLike(3, 8.0);
             for (auto& sample : samples) sample = static_cast<std::int16_t>(sample / 40);
             return samples;
         }()},
        {"tone", Tone(2600.0 * std::numbers::sqrt2, 2.0)},
        {"loud tone", Tone(32000.0, 1.0, 440.0)},
        {"faint tone", Tone(6.0, 1.0, 300.0)},
        {"bursts", Joined({Silence(0.5), Tone(9000.0, 0.3), Silence(1.0), Tone(900.0, 0.7, 440.0), Silence(0.05),
                           Tone(20000.0, 0.1, 200.0), Silence(0.3)})},
        {"burst at the end", Joined({Silence(1.0), Tone(4000.0, 0.5)})},
        {"single click", Joined({Silence(0.2), std::vector<std::int16_t>{30000}, Silence(0.5)})},
    };
}

TEST(SpeechLevelMeter, SameLevelAndSpanAsThresholdByThreshold) {
    for (const auto& signal : Signals()) {
        SCOPED_TRACE(signal.Name);
        TReferenceMeter reference(Rate);
        reference.add(signal.Samples);
        const auto expected = reference.level();
        ASSERT_TRUE(expected.has_value());
        // Block boundaries must not matter: one sample, uneven blocks, all at once.
        for (const std::size_t block : {std::size_t{1}, std::size_t{997}, signal.Samples.size()}) {
            const auto meter = Measured(signal.Samples, block);
            const auto level = meter.ActiveLevelDbm0();
            ASSERT_TRUE(level.has_value());
            EXPECT_NEAR(*level, expected->first, 0.01);
            EXPECT_EQ(meter.ActiveSpan(), reference.span());
            EXPECT_EQ(meter.SampleCount(), signal.Samples.size());
        }
    }
}

TEST(SpeechLevelMeter, NoSpanWithoutActivity) {
    EXPECT_EQ(Measured(Silence(1.0), 512).ActiveSpan(), std::nullopt);
    EXPECT_EQ(Measured({}, 512).ActiveSpan(), std::nullopt);
    EXPECT_EQ(Measured(Silence(1.0), 512).ActiveLevelDbm0(), std::nullopt);
}

TEST(SpeechLevelMeter, SpanCoversTheSoundAndTheHangoverAfterIt) {
    // Sound from 0.5 s to 1.5 s, then a second of silence: the span starts as
    // the envelope rises and ends 0.2 s after it falls below the threshold.
    const auto meter = Measured(Joined({Silence(0.5), Tone(8000.0, 1.0), Silence(1.0)}), 4096);
    const auto span = meter.ActiveSpan();
    ASSERT_TRUE(span.has_value());
    EXPECT_GE(span->first, 4000u);
    EXPECT_LT(span->first, 4000u + Rate / 25);  // the envelope rises within 40 ms
    EXPECT_GT(span->second, 12000u + Rate / 5);
    EXPECT_LT(span->second, 12000u + Rate / 2);
}

TEST(SpeechLevelMeter, SpanIsClippedToTheSamplesSeen) {
    const auto samples = Joined({Silence(0.3), Tone(8000.0, 0.4)});
    const auto span = Measured(samples, 100).ActiveSpan();
    ASSERT_TRUE(span.has_value());
    EXPECT_EQ(span->second, samples.size() - 1);
}

}  // namespace
}  // namespace quorvel::test
