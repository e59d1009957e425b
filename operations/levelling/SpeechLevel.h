#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

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

private:
    static constexpr int ThresholdCount = 16;

    double FSmoothing;
    std::uint64_t FHangover;
    double FEnvelope1 = 0;
    double FEnvelope2 = 0;
    double FSumOfSquares = 0;
    std::uint64_t FCount = 0;
    std::uint64_t FActive[ThresholdCount] = {};
    std::uint64_t FSinceActive[ThresholdCount] = {};
};

// dBm0 of a mean square in 16-bit units squared.
double LevelDbm0(double MeanSquare);

}  // namespace quorvel
