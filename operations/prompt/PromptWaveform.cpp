#include "operations/prompt/PromptWaveform.h"

#include <algorithm>

namespace quorvel {

TWaveformColumns::TWaveformColumns(std::size_t Columns, std::int64_t Frames, int Channels)
    : frames_(Frames), channels_(std::max(1, Channels)), columns_(Frames > 0 ? Columns : 0), touched_(columns_, false) {
    waveform_.assign(columns_, {0, 0});
}

void TWaveformColumns::Add(const std::int16_t* Samples, std::size_t Count, std::int64_t First) {
    if (columns_ == 0) return;
    const auto columnCount = static_cast<std::int64_t>(columns_);
    const std::int64_t end = std::min(First + static_cast<std::int64_t>(Count), frames_ * channels_);
    // Frame f is in column f * columns / frames, so a column's frames start
    // at the first f with f * columns >= column * frames: one search per
    // column, not one division per sample.
    for (std::int64_t at = First; at < end;) {
        const std::int64_t column = at / channels_ * columnCount / frames_;
        const std::int64_t nextFrame = ((column + 1) * frames_ + columnCount - 1) / columnCount;
        const std::int64_t stop = std::min(end, nextFrame * channels_);
        const auto [low, high] = std::minmax_element(Samples + (at - First), Samples + (stop - First));
        auto& [columnLow, columnHigh] = waveform_[static_cast<std::size_t>(column)];
        if (!touched_[static_cast<std::size_t>(column)]) {
            columnLow = *low;
            columnHigh = *high;
            touched_[static_cast<std::size_t>(column)] = true;
        }
        columnLow = std::min(columnLow, *low);
        columnHigh = std::max(columnHigh, *high);
        at = stop;
    }
}

}  // namespace quorvel
