#include "operations/levelling/SpeechLevel.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>

namespace quorvel {

namespace {

constexpr double EnvelopeTimeConstant = 0.03;  // seconds
constexpr double HangoverTime = 0.2;           // seconds
constexpr double MarginDb = 15.9;
// RMS of a full-scale sine in 16-bit PCM, the 0 dBm0 reference.
constexpr double ZeroDbm0Rms = 23170.0;

double ThresholdDb(int Index) { return 20.0 * std::log10(std::ldexp(1.0, Index)); }

// The thresholds are the powers of two 1, 2, 4 ... 32768: the highest one an
// envelope reaches is its binary exponent, read straight from the bits of the
// double (positive, so no sign bit; below 1, zero included, is -1).
int LevelOf(double Envelope) {
    const int exponent = static_cast<int>(std::bit_cast<std::uint64_t>(Envelope) >> 52) - 1023;
    return std::clamp(exponent, -1, 15);
}

}  // namespace

double LevelDbm0(double MeanSquare) { return 10.0 * std::log10(MeanSquare / (ZeroDbm0Rms * ZeroDbm0Rms)); }

TSpeechLevelMeter::TSpeechLevelMeter(int SampleRate)
    : FSmoothing(std::exp(-1.0 / (EnvelopeTimeConstant * SampleRate))),
      FRise(1.0 - FSmoothing),
      FHangover(static_cast<std::uint64_t>(std::ceil(HangoverTime * SampleRate))) {}

void TSpeechLevelMeter::Add(const std::int16_t* Samples, std::size_t Count) {
    constexpr unsigned mask = WindowCapacity - 1;
    double envelope1 = FEnvelope1;
    double envelope2 = FEnvelope2;
    double sumOfSquares = 0;
    for (std::size_t i = 0; i < Count; ++i) {
        const double value = Samples[i];
        sumOfSquares += value * value;
        envelope1 = FSmoothing * envelope1 + FRise * std::abs(value);
        envelope2 = FSmoothing * envelope2 + FRise * envelope1;
        const int level = LevelOf(envelope2);
        const std::uint64_t sample = FCount + i;
        const int slot = level + 1;
        if (!FSeen[slot]) {
            FSeen[slot] = true;
            FFirstAt[slot] = sample;
        }
        FLastAt[slot] = sample;
        // A sample is active at a threshold when the envelope reached it at
        // most the hangover ago, so what counts is the highest level within
        // the hangover: a sliding maximum, levels falling front to back.
        // Mostly the level is the newest entry's, which then only moves on.
        TWindowEntry& newest = FWindow[(FWindowBack - 1) & mask];
        if (FWindowBack != FWindowFront && newest.Level == level) {
            newest.Sample = sample;
        } else {
            while (FWindowBack != FWindowFront && FWindow[(FWindowBack - 1) & mask].Level <= level) --FWindowBack;
            FWindow[FWindowBack++ & mask] = {level, sample};
        }
        if (FWindow[FWindowFront & mask].Sample + FHangover < sample) ++FWindowFront;
        ++FWindowLevelCount[FWindow[FWindowFront & mask].Level + 1];
    }
    FEnvelope1 = envelope1;
    FEnvelope2 = envelope2;
    FSumOfSquares += sumOfSquares;
    FCount += Count;
}

std::uint64_t TSpeechLevelMeter::ActiveCount(int Threshold) const {
    std::uint64_t count = 0;
    for (int slot = Threshold + 1; slot < LevelCount; ++slot) count += FWindowLevelCount[slot];
    return count;
}

namespace {

struct TChoice {
    double MeanSquare;
    int Threshold;
};

// Active level and its distance above each threshold; the distance falls as
// the thresholds rise. The answer is where it crosses the margin; the
// threshold kept for the span is the lower of the two around the crossing,
// which rather keeps a soft syllable than loses it.
template <typename TActiveCount>
std::optional<TChoice> Choose(double SumOfSquares, TActiveCount ActiveCount) {
    constexpr int thresholdCount = 16;
    if (SumOfSquares <= 0) return std::nullopt;
    double previousLevel = 0;
    double previousDistance = 0;
    bool havePrevious = false;
    for (int j = 0; j < thresholdCount; ++j) {
        const std::uint64_t active = ActiveCount(j);
        if (active == 0) break;
        const double level = 10.0 * std::log10(SumOfSquares / static_cast<double>(active));
        const double distance = level - ThresholdDb(j);
        if (distance <= MarginDb) {
            if (!havePrevious) return TChoice{std::pow(10.0, level / 10.0), j};
            const double t = (previousDistance - MarginDb) / (previousDistance - distance);
            return TChoice{std::pow(10.0, (previousLevel + t * (level - previousLevel)) / 10.0), j - 1};
        }
        previousLevel = level;
        previousDistance = distance;
        havePrevious = true;
    }
    // Active at every threshold with room to spare: no threshold was high
    // enough, which only a signal near full scale gives; its highest active
    // level is the best estimate.
    if (!havePrevious) return std::nullopt;
    int highest = 0;
    while (highest + 1 < thresholdCount && ActiveCount(highest + 1) != 0) ++highest;
    return TChoice{std::pow(10.0, previousLevel / 10.0), highest};
}

}  // namespace

std::optional<int> TSpeechLevelMeter::ChosenThreshold() const {
    const auto choice = Choose(FSumOfSquares, [this](int j) { return ActiveCount(j); });
    if (!choice) return std::nullopt;
    return choice->Threshold;
}

std::optional<double> TSpeechLevelMeter::ActiveMeanSquare() const {
    const auto choice = Choose(FSumOfSquares, [this](int j) { return ActiveCount(j); });
    if (!choice) return std::nullopt;
    return choice->MeanSquare;
}

std::optional<double> TSpeechLevelMeter::ActiveLevelDbm0() const {
    const auto meanSquare = ActiveMeanSquare();
    if (!meanSquare) return std::nullopt;
    return LevelDbm0(*meanSquare);
}

std::optional<std::pair<std::uint64_t, std::uint64_t>> TSpeechLevelMeter::ActiveSpan() const {
    const auto threshold = ChosenThreshold();
    if (!threshold) return std::nullopt;
    std::optional<std::uint64_t> first;
    std::optional<std::uint64_t> last;
    for (int slot = *threshold + 1; slot < LevelCount; ++slot) {
        if (!FSeen[slot]) continue;
        first = first ? std::min(*first, FFirstAt[slot]) : FFirstAt[slot];
        last = last ? std::max(*last, FLastAt[slot]) : FLastAt[slot];
    }
    if (!first) return std::nullopt;
    return std::pair{*first, std::min(*last + FHangover, FCount - 1)};
}

}  // namespace quorvel
