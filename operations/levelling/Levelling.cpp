#include "operations/levelling/Levelling.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace quorvel {

namespace {

constexpr int FullScale = 32767;

// Numerator / Denominator rounded to the nearest integer, halves to even.
std::int64_t DivideRoundingHalfToEven(std::int64_t Numerator, std::int64_t Denominator) {
    std::int64_t quotient = Numerator / Denominator;
    const std::int64_t twiceRemainder = 2 * std::abs(Numerator % Denominator);
    const std::int64_t direction = (Numerator < 0) ? -1 : 1;
    if (twiceRemainder > Denominator || (twiceRemainder == Denominator && quotient % 2 != 0)) quotient += direction;
    return quotient;
}

std::int16_t ToSample(std::int64_t Value) {
    return static_cast<std::int16_t>(std::clamp<std::int64_t>(Value, -FullScale - 1, FullScale));
}

}  // namespace

void TLevelMeasure::Add(const std::int16_t* Samples, std::size_t Count) {
    AddPeak(Samples, Count);
    Speech.Add(Samples, Count);
}

void TLevelMeasure::AddPeak(const std::int16_t* Samples, std::size_t Count) {
    for (std::size_t i = 0; i < Count; ++i) Peak = std::max(Peak, std::abs(static_cast<int>(Samples[i])));
}

double TLevelPlan::Gain() const {
    if (Mode == TLevelMode::Peak) return static_cast<double>(PeakNumerator) / PeakDenominator;
    if (Mode == TLevelMode::Speech) return SpeechGain;
    return 1.0;
}

std::int16_t TLevelPlan::Level(std::int16_t Sample) const {
    if (Mode == TLevelMode::Peak)
        return ToSample(DivideRoundingHalfToEven(std::int64_t{Sample} * PeakNumerator, PeakDenominator));
    // The default rounding mode rounds halves to even. The plan keeps the
    // peak within the limit, so the clamp only guards against -32768.
    if (Mode == TLevelMode::Speech) return ToSample(static_cast<std::int64_t>(std::nearbyint(Sample * SpeechGain)));
    return Sample;
}

void TLevelPlan::Apply(std::int16_t* Samples, std::size_t Count) const { TLevelTable(*this).Apply(Samples, Count); }

TLevelTable::TLevelTable(const TLevelPlan& Plan) : levelled_(std::size_t{1} << 16) {
    for (int sample = -32768; sample <= 32767; ++sample)
        levelled_[static_cast<std::size_t>(sample + 32768)] = Plan.Level(static_cast<std::int16_t>(sample));
}

void TLevelTable::Apply(std::int16_t* Samples, std::size_t Count) const {
    for (std::size_t i = 0; i < Count; ++i) Samples[i] = levelled_[static_cast<std::size_t>(Samples[i] + 32768)];
}

TLevelPlan PlanLevelling(TLevelMode Mode, const TLevelMeasure& Measure) {
    TLevelPlan plan;
    plan.Mode = Mode;
    if (Mode == TLevelMode::None) return plan;
    if (Measure.Peak == 0) {
        plan.TargetReached = false;
        return plan;
    }
    if (Mode == TLevelMode::Peak) {
        plan.PeakNumerator = FullScale;
        // A -32768 sample is levelled to -32767 like its positive mirror.
        plan.PeakDenominator = Measure.Peak;
        return plan;
    }
    const auto level = Measure.Speech.ActiveLevelDbm0();
    if (!level) {
        plan.TargetReached = false;
        return plan;
    }
    plan.SpeechGain = std::pow(10.0, (SpeechTargetDbm0 - *level) / 20.0);
    const double peakGain = static_cast<double>(SpeechPeakLimit) / Measure.Peak;
    if (plan.SpeechGain > peakGain) {
        plan.SpeechGain = peakGain;
        plan.TargetReached = false;
    }
    return plan;
}

}  // namespace quorvel
