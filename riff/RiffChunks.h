// The one walk over the chunks of a RIFF file, shared by the audio readers and
// the prompt header probe: the pad byte and the size checks are decided here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

namespace quorvel {

// Four printable ASCII characters, as every chunk tag is.
bool plausibleTag(const std::uint8_t* bytes);

struct RiffChunk {
    std::uint8_t tag[4] = {};
    std::uint32_t size = 0;
    std::uint64_t bodyOffset = 0;  // the first byte after the chunk header
};

// Walks chunk headers from `first` up to `end` (the file's length, or less).
// A chunk's body must lie within `end`. An odd-sized chunk is followed by a
// pad byte, which some writers leave out: it is skipped only when the bytes
// right after the body are not a plausible tag, so files written either way
// read.
class RiffChunkWalk {
public:
    // Reads up to `count` bytes at `offset`; returns how many were read.
    using ReadAt = std::function<std::size_t(std::uint64_t offset, std::uint8_t* into, std::size_t count)>;

    RiffChunkWalk(ReadAt readAt, std::uint64_t first, std::uint64_t end);

    // The next chunk's header; false at the end or on a header or size that
    // does not fit. `bodyIsPartial` allows one body (the data) to be cut short
    // by the end of the file.
    bool next(RiffChunk& chunk, bool bodyIsPartial = false);

private:
    ReadAt readAt_;
    std::uint64_t offset_;
    std::uint64_t end_;
    bool padPending_ = false;
};

}  // namespace quorvel
