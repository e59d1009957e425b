#pragma once

#include "audio/pipeline/AuStream.h"
#include "riff/RiffChunks.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace quorvel {

// Four-byte chunk tags match when each byte equals the expected one or
// differs from it by exactly 32, so letter case is ignored.
bool SameTag(const std::uint8_t* Bytes, const char* Tag);

// Walks the header of a RIFF/WAVE stream from its current position: the
// "RIFF" and "WAVE" tags are searched for at most SearchLimit bytes, the
// chunks after them are walked up to the end of the stream (RiffChunkWalk:
// pad bytes, sizes checked against the stream's length).
class TRiffReader {
public:
    static constexpr std::int64_t SearchLimit = 8192;
    // No format or other chunk read whole is larger.
    static constexpr std::uint32_t BodyLimit = 65536;

    explicit TRiffReader(TAuStream& Stream);

    // Slides a byte at a time to "RIFF", reads the RIFF size, then slides to "WAVE".
    bool FindWave();
    // Reads the next chunk's tag and size and stands at its body, which may
    // run past the end of the stream (a cut recording's data).
    bool NextChunk(std::uint8_t (&Tag)[4], std::uint32_t& Size);
    bool ReadBody(std::uint32_t Size, std::vector<std::uint8_t>& Body);
    bool ReadU32(std::uint32_t& Value);
    bool Skip(std::uint32_t Size);
    // Offset in the stream of the next byte to read.
    std::int64_t Offset() const { return FOffset; }
    std::int64_t StreamSize() const { return FStreamSize; }

private:
    bool Take(void* Buffer, std::size_t Count);
    bool SlideTo(std::uint8_t (&Window)[4], const char* Tag);

    TAuStream& FStream;
    std::int64_t FStart;
    std::int64_t FStreamSize;
    std::int64_t FOffset;
    std::optional<RiffChunkWalk> FWalk;
};

}  // namespace quorvel
