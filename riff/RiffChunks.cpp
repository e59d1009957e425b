#include "riff/RiffChunks.h"

#include <utility>

namespace quorvel {

bool plausibleTag(const std::uint8_t* bytes) {
    for (int i = 0; i < 4; ++i)
        if (bytes[i] < 0x20 || bytes[i] > 0x7E) return false;
    return true;
}

RiffChunkWalk::RiffChunkWalk(ReadAt readAt, std::uint64_t first, std::uint64_t end)
    : readAt_(std::move(readAt)), offset_(first), end_(end) {}

bool RiffChunkWalk::next(RiffChunk& chunk, bool bodyIsPartial) {
    if (padPending_ && offset_ + 1 <= end_) {
        std::uint8_t following[4];
        const bool tagThere = offset_ + 4 <= end_ && readAt_(offset_, following, 4) == 4 && plausibleTag(following);
        if (!tagThere) ++offset_;
    }
    std::uint8_t header[8];
    if (offset_ + 8 > end_ || readAt_(offset_, header, 8) != 8) return false;
    for (int i = 0; i < 4; ++i) chunk.tag[i] = header[i];
    chunk.size = std::uint32_t{header[4]} | std::uint32_t{header[5]} << 8 | std::uint32_t{header[6]} << 16 |
                 std::uint32_t{header[7]} << 24;
    chunk.bodyOffset = offset_ + 8;
    if (chunk.size > end_ - chunk.bodyOffset && !bodyIsPartial) return false;
    offset_ = chunk.bodyOffset + chunk.size;
    padPending_ = (chunk.size & 1) != 0;
    return true;
}

}  // namespace quorvel
