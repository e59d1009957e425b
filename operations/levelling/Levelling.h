#pragma once

#include "operations/levelling/SpeechLevel.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace quorvel {

enum class TLevelMode {
    None,    // the samples stay as they are
    Peak,    // the largest absolute sample becomes 32767
    Speech,  // the active speech level becomes -19 dBm0, within a -1 dBFS peak limit
};

// What a first pass over the samples found.
struct TLevelMeasure {
    explicit TLevelMeasure(int SampleRate) : Speech(SampleRate) {}
    void Add(const std::int16_t* Samples, std::size_t Count);
    // The peak alone, which is all a peak plan needs.
    void AddPeak(const std::int16_t* Samples, std::size_t Count);

    int Peak = 0;  // largest absolute sample, 0..32768
    TSpeechLevelMeter Speech;
};

// The gain chosen from a measure. A peak gain is kept as the exact ratio
// 32767 / peak, so that the peak lands on 32767 without rounding error.
struct TLevelPlan {
    TLevelMode Mode = TLevelMode::None;
    std::int32_t PeakNumerator = 1;
    std::int32_t PeakDenominator = 1;
    double SpeechGain = 1.0;
    // False when the speech target was given up for the peak limit, or
    // when there was nothing to level (silence).
    bool TargetReached = true;

    double Gain() const;
    // One sample scaled, rounding halves to even; never clips.
    std::int16_t Level(std::int16_t Sample) const;
    // Scales in place, through a table made for this call.
    void Apply(std::int16_t* Samples, std::size_t Count) const;
};

// Every 16-bit sample's levelled value under one plan. Made once for a
// file, it turns levelling into one lookup a sample instead of a 64-bit
// division.
class TLevelTable {
public:
    explicit TLevelTable(const TLevelPlan& Plan);
    void Apply(std::int16_t* Samples, std::size_t Count) const;

private:
    std::vector<std::int16_t> levelled_;  // indexed by sample + 32768
};

inline constexpr double SpeechTargetDbm0 = -19.0;
inline constexpr int SpeechPeakLimit = 29204;  // -1 dBFS

TLevelPlan PlanLevelling(TLevelMode Mode, const TLevelMeasure& Measure);

}  // namespace quorvel
