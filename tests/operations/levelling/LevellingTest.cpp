#include "operations/levelling/Levelling.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace quorvel::test {
namespace {

constexpr int Rate = 8000;

std::vector<std::int16_t> Sine(double Amplitude, double Seconds, double Frequency = 1000.0) {
    std::vector<std::int16_t> samples(static_cast<std::size_t>(Seconds * Rate));
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<std::int16_t>(
            std::lround(Amplitude * std::sin(2.0 * std::numbers::pi * Frequency * static_cast<double>(i) / Rate)));
    return samples;
}

void Append(std::vector<std::int16_t>& To, const std::vector<std::int16_t>& More) {
    To.insert(To.end(), More.begin(), More.end());
}

TLevelMeasure Measure(const std::vector<std::int16_t>& Samples) {
    TLevelMeasure measure(Rate);
    // In uneven blocks, as a file is read.
    for (std::size_t at = 0; at < Samples.size(); at += 997)
        measure.Add(Samples.data() + at, std::min<std::size_t>(997, Samples.size() - at));
    return measure;
}

std::vector<std::int16_t> Levelled(TLevelMode Mode, std::vector<std::int16_t> Samples, TLevelPlan* Plan = nullptr) {
    const TLevelPlan plan = PlanLevelling(Mode, Measure(Samples));
    plan.Apply(Samples.data(), Samples.size());
    if (Plan != nullptr) *Plan = plan;
    return Samples;
}

TEST(PeakLevelling, LargestSampleBecomesFullScaleWithHalvesRoundedToEven) {
    // Gain 32767/200: 100 -> 16383.5 (to 16384, even), 50 -> 8191.75, 1 -> 163.835,
    // 3 -> 491.505, 5 -> 819.175.
    EXPECT_EQ(Levelled(TLevelMode::Peak, {0, 100, -200, 50, 1, 3, -5}),
              (std::vector<std::int16_t>{0, 16384, -32767, 8192, 164, 492, -819}));
    // -67 * 32767 / 134 = -16383.5 goes to the even neighbour away from zero.
    EXPECT_EQ(Levelled(TLevelMode::Peak, {-67, 134}), (std::vector<std::int16_t>{-16384, 32767}));
    // A -32768 sample comes to -32767, nothing wraps.
    EXPECT_EQ(Levelled(TLevelMode::Peak, {-32768, 32767, 16384}), (std::vector<std::int16_t>{-32767, 32766, 16384}));
}

TEST(PeakLevelling, SilenceAndNoneAreLeftAlone) {
    TLevelPlan plan;
    EXPECT_EQ(Levelled(TLevelMode::Peak, {0, 0, 0}, &plan), (std::vector<std::int16_t>{0, 0, 0}));
    EXPECT_FALSE(plan.TargetReached);
    EXPECT_EQ(plan.Gain(), 1.0);
    EXPECT_EQ(Levelled(TLevelMode::None, {3, -7}, &plan), (std::vector<std::int16_t>{3, -7}));
    EXPECT_TRUE(plan.TargetReached);
    EXPECT_EQ(Levelled(TLevelMode::Speech, {0, 0}, &plan), (std::vector<std::int16_t>{0, 0}));
    EXPECT_FALSE(plan.TargetReached);
}

TEST(LevelTable, EverySampleValueLevelsAsThePlanSays) {
    // Odd gains both ways, so that halves, the clamp and both ends of the
    // sample range meet the table's indexing.
    std::vector<TLevelPlan> plans(4);
    plans[0].Mode = TLevelMode::Peak;
    plans[0].PeakNumerator = 32767;
    plans[0].PeakDenominator = 134;
    plans[1].Mode = TLevelMode::Peak;
    plans[1].PeakNumerator = 32767;
    plans[1].PeakDenominator = 32768;
    plans[2].Mode = TLevelMode::Speech;
    plans[2].SpeechGain = 0.37;
    plans[3].Mode = TLevelMode::Speech;
    plans[3].SpeechGain = 1.5;
    std::vector<std::int16_t> every;
    for (int sample = -32768; sample <= 32767; ++sample) every.push_back(static_cast<std::int16_t>(sample));
    for (const TLevelPlan& plan : plans) {
        std::vector<std::int16_t> levelled = every;
        TLevelTable(plan).Apply(levelled.data(), levelled.size());
        for (std::size_t i = 0; i < every.size(); ++i) {
            const double exact =
                plan.Mode == TLevelMode::Peak ? every[i] * 32767.0 / plan.PeakDenominator : every[i] * plan.SpeechGain;
            const double expected = std::clamp(std::nearbyint(exact), -32768.0, 32767.0);
            ASSERT_EQ(levelled[i], static_cast<std::int16_t>(expected)) << "sample " << every[i];
        }
    }
}

TEST(SpeechLevel, ContinuousSineMeasuresItsRms) {
    // RMS 2600 is -19 dBm0; the envelope's rise at the start is not yet
    // active, which lifts the level by a few hundredths of a dB.
    const auto level = Measure(Sine(2600.0 * std::numbers::sqrt2, 2.0)).Speech.ActiveLevelDbm0();
    ASSERT_TRUE(level.has_value());
    EXPECT_NEAR(*level, -19.0, 0.1);
}

TEST(SpeechLevel, PausesDoNotLowerTheActiveLevel) {
    // Half the time silent: the long-term level drops by 3 dB, the active
    // level only by what is counted active after each burst, the 0.2 s
    // hangover and the envelope's decay (about 1 dB).
    std::vector<std::int16_t> samples;
    for (int burst = 0; burst < 4; ++burst) {
        Append(samples, Sine(2600.0 * std::numbers::sqrt2, 1.0));
        Append(samples, std::vector<std::int16_t>(Rate, 0));
    }
    const auto level = Measure(samples).Speech.ActiveLevelDbm0();
    ASSERT_TRUE(level.has_value());
    EXPECT_LT(*level, -19.5);
    EXPECT_GT(*level, -20.5);
}

TEST(SpeechLevelling, BringsSpeechToMinus19Dbm0) {
    std::vector<std::int16_t> quiet;
    for (int burst = 0; burst < 3; ++burst) {
        Append(quiet, Sine(900.0, 0.7, 440.0));
        Append(quiet, std::vector<std::int16_t>(Rate / 2, 0));
    }
    TLevelPlan plan;
    const auto out = Levelled(TLevelMode::Speech, quiet, &plan);
    EXPECT_TRUE(plan.TargetReached);
    EXPECT_GT(plan.Gain(), 1.0);
    const auto level = Measure(out).Speech.ActiveLevelDbm0();
    ASSERT_TRUE(level.has_value());
    EXPECT_NEAR(*level, SpeechTargetDbm0, 0.1);
}

TEST(SpeechLevelling, PeakLimitWinsOverTheTarget) {
    // Quiet speech with one loud click: reaching -19 dBm0 would clip.
    auto samples = Sine(500.0, 2.0);
    samples[4000] = 20000;
    TLevelPlan plan;
    const auto out = Levelled(TLevelMode::Speech, samples, &plan);
    EXPECT_FALSE(plan.TargetReached);
    EXPECT_EQ(out[4000], SpeechPeakLimit);
    for (const auto sample : out) EXPECT_LE(std::abs(int{sample}), SpeechPeakLimit);
}

}  // namespace
}  // namespace quorvel::test
