#include "operations/levelling/SpeechLevel.h"

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

}  // namespace

double LevelDbm0(double MeanSquare) { return 10.0 * std::log10(MeanSquare / (ZeroDbm0Rms * ZeroDbm0Rms)); }

TSpeechLevelMeter::TSpeechLevelMeter(int SampleRate)
    : FSmoothing(std::exp(-1.0 / (EnvelopeTimeConstant * SampleRate))),
      FHangover(static_cast<std::uint64_t>(std::ceil(HangoverTime * SampleRate))) {
    // No hangover before the first activity.
    for (auto& since : FSinceActive) since = FHangover;
}

void TSpeechLevelMeter::Add(const std::int16_t* Samples, std::size_t Count) {
    for (std::size_t i = 0; i < Count; ++i) {
        const double value = Samples[i];
        FSumOfSquares += value * value;
        FEnvelope1 = FSmoothing * FEnvelope1 + (1.0 - FSmoothing) * std::abs(value);
        FEnvelope2 = FSmoothing * FEnvelope2 + (1.0 - FSmoothing) * FEnvelope1;
        // Thresholds are powers of two from 1 upwards: the envelope is at or
        // above exactly those below its own power of two.
        for (int j = 0; j < ThresholdCount; ++j) {
            if (FEnvelope2 >= std::ldexp(1.0, j)) {
                ++FActive[j];
                FSinceActive[j] = 0;
            } else if (FSinceActive[j] < FHangover) {
                ++FActive[j];
                ++FSinceActive[j];
            }
        }
    }
    FCount += Count;
}

std::optional<double> TSpeechLevelMeter::ActiveMeanSquare() const {
    if (FSumOfSquares <= 0) return std::nullopt;
    // Active level and its distance above each threshold; the distance falls
    // as the thresholds rise. The answer is where it crosses the margin.
    double previousLevel = 0;
    double previousDistance = 0;
    bool havePrevious = false;
    for (int j = 0; j < ThresholdCount; ++j) {
        if (FActive[j] == 0) break;
        const double level = 10.0 * std::log10(FSumOfSquares / static_cast<double>(FActive[j]));
        const double distance = level - ThresholdDb(j);
        if (distance <= MarginDb) {
            if (!havePrevious) return std::pow(10.0, level / 10.0);
            const double t = (previousDistance - MarginDb) / (previousDistance - distance);
            return std::pow(10.0, (previousLevel + t * (level - previousLevel)) / 10.0);
        }
        previousLevel = level;
        previousDistance = distance;
        havePrevious = true;
    }
    // Active at every threshold with room to spare: no threshold was high
    // enough, which only a signal near full scale gives; its highest active
    // level is the best estimate.
    if (!havePrevious) return std::nullopt;
    return std::pow(10.0, previousLevel / 10.0);
}

std::optional<double> TSpeechLevelMeter::ActiveLevelDbm0() const {
    const auto meanSquare = ActiveMeanSquare();
    if (!meanSquare) return std::nullopt;
    return LevelDbm0(*meanSquare);
}

}  // namespace quorvel
