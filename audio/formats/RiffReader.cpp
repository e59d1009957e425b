#include "audio/formats/RiffReader.h"

#include <cstring>

namespace quorvel {

bool SameTag(const std::uint8_t* Bytes, const char* Tag) {
    for (int i = 0; i < 4; ++i) {
        const int expected = static_cast<std::uint8_t>(Tag[i]);
        const int actual = Bytes[i];
        if (actual != expected && actual != expected + 32 && actual != expected - 32) return false;
    }
    return true;
}

TRiffReader::TRiffReader(TAuStream& Stream)
    : FStream(Stream), FStart(Stream.Position()), FStreamSize(Stream.GetSize()), FOffset(FStart) {}

bool TRiffReader::Take(void* Buffer, std::size_t Count) {
    if (FOffset + static_cast<std::int64_t>(Count) > FStreamSize) return false;
    if (FStream.Read(Buffer, Count) != Count) return false;
    FOffset += static_cast<std::int64_t>(Count);
    return true;
}

bool TRiffReader::SlideTo(std::uint8_t (&Window)[4], const char* Tag) {
    while (!SameTag(Window, Tag)) {
        std::memmove(Window, Window + 1, 3);
        if (FOffset - FStart >= SearchLimit || !Take(Window + 3, 1)) return false;
    }
    return true;
}

bool TRiffReader::FindWave() {
    std::uint8_t window[4];
    if (!Take(window, 4) || !SlideTo(window, "RIFF")) return false;
    std::uint32_t riffSize;
    if (!ReadU32(riffSize) || !Take(window, 4) || !SlideTo(window, "WAVE")) return false;
    auto readAt = [this](std::uint64_t At, std::uint8_t* Into, std::size_t Count) -> std::size_t {
        FStream.Seek(static_cast<std::int64_t>(At), TSeekOrigin::soBeginning);
        return FStream.Read(Into, Count);
    };
    FWalk.emplace(readAt, static_cast<std::uint64_t>(FOffset), static_cast<std::uint64_t>(FStreamSize));
    return true;
}

bool TRiffReader::NextChunk(std::uint8_t (&Tag)[4], std::uint32_t& Size) {
    RiffChunk chunk;
    if (!FWalk || !FWalk->next(chunk, true)) return false;
    std::memcpy(Tag, chunk.tag, 4);
    Size = chunk.size;
    FOffset = static_cast<std::int64_t>(chunk.bodyOffset);
    FStream.Seek(FOffset, TSeekOrigin::soBeginning);
    return true;
}

bool TRiffReader::ReadBody(std::uint32_t Size, std::vector<std::uint8_t>& Body) {
    if (Size > BodyLimit) return false;
    Body.resize(Size);
    return Take(Body.data(), Size);
}

bool TRiffReader::ReadU32(std::uint32_t& Value) {
    std::uint8_t bytes[4];
    if (!Take(bytes, 4)) return false;
    Value = std::uint32_t{bytes[0]} | std::uint32_t{bytes[1]} << 8 | std::uint32_t{bytes[2]} << 16 |
            std::uint32_t{bytes[3]} << 24;
    return true;
}

bool TRiffReader::Skip(std::uint32_t Size) {
    const std::int64_t target = FOffset + Size;
    if (target > FStreamSize) return false;
    FStream.Seek(target, TSeekOrigin::soBeginning);
    FOffset = target;
    return true;
}

}  // namespace quorvel
