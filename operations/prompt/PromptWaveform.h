// The picture of a prompt: the smallest and largest sample of each of a
// number of equal stretches of its frames.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace quorvel {

class TWaveformColumns {
public:
    TWaveformColumns(std::size_t Columns, std::int64_t Frames, int Channels = 1);

    // Interleaved samples, the first of them sample First of the recording;
    // samples past the frames announced are left out.
    void Add(const std::int16_t* Samples, std::size_t Count, std::int64_t First);

    std::vector<std::pair<std::int16_t, std::int16_t>> Take() { return std::move(waveform_); }

private:
    std::int64_t frames_;
    std::int64_t channels_;
    std::size_t columns_;
    std::vector<bool> touched_;
    std::vector<std::pair<std::int16_t, std::int16_t>> waveform_;
};

}  // namespace quorvel
