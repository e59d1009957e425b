#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <utility>

namespace quorvel {

// Active speech level of 16-bit samples by the envelope-and-threshold method
// of ITU-T P.56 (method B): the level of the signal over the time it is
// active, where activity is judged against 16 amplitude thresholds with a
// 0.2 s hangover, and the threshold chosen is the one 15.9 dB below the
// active level it yields. Fed block by block, so a recording of any length
// is measured in constant memory.
class TSpeechLevelMeter {
public:
    explicit TSpeechLevelMeter(int SampleRate);

    void Add(const std::int16_t* Samples, std::size_t Count);

    // Mean square of the active samples, in 16-bit units squared; none when
    // nothing was active (silence, or no samples at all).
    std::optional<double> ActiveMeanSquare() const;
    // The same as a level relative to a full-scale sine (0 dBm0 = RMS 23170).
    std::optional<double> ActiveLevelDbm0() const;
    std::uint64_t SampleCount() const { return FCount; }

    // First and last sample (counted from the first Add, 0-based) that the chosen threshold finds active,
    // the hangover after the last one included and clipped to the samples seen; none when nothing is active.
    std::optional<std::pair<std::uint64_t, std::uint64_t>> ActiveSpan() const;

private:
    static constexpr int ThresholdCount = 16;
    // Levels are -1 (below the lowest threshold) to 15; arrays indexed by level + 1.
    static constexpr int LevelCount = ThresholdCount + 1;
    // A sliding-window maximum of the levels over the hangover: levels fall
    // strictly from front to back, so it never holds more than LevelCount.
    static constexpr int WindowCapacity = 32;
    struct TWindowEntry {
        int Level;
        std::uint64_t Sample;
    };

    std::optional<int> ChosenThreshold() const;
    std::uint64_t ActiveCount(int Threshold) const;

    double FSmoothing;
    double FRise;
    std::uint64_t FHangover;
    double FEnvelope1 = 0;
    double FEnvelope2 = 0;
    double FSumOfSquares = 0;
    std::uint64_t FCount = 0;
    // Samples whose highest threshold reached within the hangover is level.
    std::uint64_t FWindowLevelCount[LevelCount] = {};
    // First and last sample whose envelope reached exactly this level.
    std::uint64_t FFirstAt[LevelCount] = {};
    std::uint64_t FLastAt[LevelCount] = {};
    bool FSeen[LevelCount] = {};
    TWindowEntry FWindow[WindowCapacity] = {};
    unsigned FWindowFront = 0;
    unsigned FWindowBack = 0;  // one past the last entry
};

// dBm0 of a mean square in 16-bit units squared.
double LevelDbm0(double MeanSquare);

}  // namespace quorvel
