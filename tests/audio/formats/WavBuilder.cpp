#include "WavBuilder.h"

namespace quorvel::test {

void Put(Bytes& To, std::uint32_t Value, int Width) {
    for (int i = 0; i < Width; ++i) To.push_back(static_cast<std::uint8_t>(Value >> (8 * i)));
}

Bytes Chunk(const char* Tag, const Bytes& Body) {
    Bytes chunk(Tag, Tag + 4);
    Put(chunk, static_cast<std::uint32_t>(Body.size()), 4);
    chunk.insert(chunk.end(), Body.begin(), Body.end());
    return chunk;
}

Bytes Wave(const std::vector<Bytes>& Chunks, const char* Riff, const char* WaveTag) {
    Bytes file(Riff, Riff + 4);
    Put(file, 0, 4);
    file.insert(file.end(), WaveTag, WaveTag + 4);
    for (const Bytes& chunk : Chunks) file.insert(file.end(), chunk.begin(), chunk.end());
    return file;
}

Bytes Format(std::uint32_t Tag, std::uint32_t Channels, std::uint32_t Rate, std::uint32_t Align, std::uint32_t Bits,
             const Bytes& Extra) {
    Bytes body;
    Put(body, Tag, 2);
    Put(body, Channels, 2);
    Put(body, Rate, 4);
    Put(body, Rate * Align, 4);
    Put(body, Align, 2);
    Put(body, Bits, 2);
    body.insert(body.end(), Extra.begin(), Extra.end());
    return body;
}

Bytes Le32(std::uint32_t Value) {
    Bytes bytes;
    Put(bytes, Value, 4);
    return bytes;
}

Bytes ImaExtra(std::uint32_t SamplesPerBlock) {
    Bytes extra;
    Put(extra, 2, 2);
    Put(extra, SamplesPerBlock, 2);
    return extra;
}

Bytes MsExtra(std::uint32_t SamplesPerBlock, std::uint32_t Pairs) {
    Bytes extra;
    Put(extra, 4 + 4 * Pairs, 2);
    Put(extra, SamplesPerBlock, 2);
    Put(extra, Pairs, 2);
    for (std::uint32_t i = 0; i < Pairs; ++i) {
        Put(extra, 256, 2);
        Put(extra, 0, 2);
    }
    return extra;
}

Bytes ExtensibleExtra(std::uint32_t Bits, std::uint8_t SubFormat) {
    Bytes extra;
    Put(extra, 22, 2);
    Put(extra, Bits, 2);
    Put(extra, 3, 4);
    const Bytes guid = {SubFormat, 0, 0, 0, 0, 0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71};
    extra.insert(extra.end(), guid.begin(), guid.end());
    return extra;
}

}  // namespace quorvel::test
