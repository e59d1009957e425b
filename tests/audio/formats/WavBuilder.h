#pragma once

#include <cstdint>
#include <vector>

// Hand-made WAVE files for the reader's and writer's tests and the fuzz seeds.
namespace quorvel::test {

using Bytes = std::vector<std::uint8_t>;

void Put(Bytes& To, std::uint32_t Value, int Width);
Bytes Le32(std::uint32_t Value);
Bytes Chunk(const char* Tag, const Bytes& Body);
Bytes Wave(const std::vector<Bytes>& Chunks, const char* Riff = "RIFF", const char* WaveTag = "WAVE");
// A "fmt " body: the 16 common bytes, then Extra.
Bytes Format(std::uint32_t Tag, std::uint32_t Channels, std::uint32_t Rate, std::uint32_t Align, std::uint32_t Bits,
             const Bytes& Extra = {});
Bytes ImaExtra(std::uint32_t SamplesPerBlock);
// Pairs copies of the pair (256, 0).
Bytes MsExtra(std::uint32_t SamplesPerBlock, std::uint32_t Pairs);
// SubFormat 1 is PCM, 3 IEEE float.
Bytes ExtensibleExtra(std::uint32_t Bits, std::uint8_t SubFormat);

}  // namespace quorvel::test
