#include "PromptHeader.h"

#include "riff/RiffChunks.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace quorvel {
namespace {

constexpr std::size_t kRiffHeaderSize = 12;
constexpr std::size_t kChunkHeaderSize = 8;
constexpr std::size_t kPcmFormatSize = 16;
constexpr std::size_t kExtensibleFormatSize = 40;
// A prompt written by the converter has "fmt " first; a few tag or list
// chunks before it are tolerated, a file made of thousands of them is not.
constexpr int kMaxChunksBeforeFormat = 64;

constexpr std::uint16_t kFormatPcm = 0x0001;
constexpr std::uint16_t kFormatExtensible = 0xFFFE;
constexpr std::array<unsigned char, 16> kPcmSubFormat = {0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00,
                                                         0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

std::uint16_t u16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }

std::uint32_t u32(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

bool readExactly(ByteSource& source, std::uint64_t offset, unsigned char* into, std::size_t count) {
    return source.readAt(offset, into, count) == count;
}

bool isPlayableFormat(const unsigned char* body, std::size_t bodySize) {
    const std::uint16_t tag = u16(body);
    if (tag == kFormatExtensible) {
        if (bodySize < kExtensibleFormatSize) return false;
        if (!std::equal(kPcmSubFormat.begin(), kPcmSubFormat.end(), body + 24)) return false;
    } else if (tag != kFormatPcm) {
        return false;
    }
    const std::uint16_t channels = u16(body + 2);
    const std::uint32_t sampleRate = u32(body + 4);
    const std::uint16_t blockAlign = u16(body + 12);
    const std::uint16_t bitsPerSample = u16(body + 14);
    return channels == 1 && bitsPerSample == 16 && blockAlign == 2 && sampleRate > 0;
}

}  // namespace

bool isPlayablePromptHeader(ByteSource& source) {
    unsigned char riff[kRiffHeaderSize];
    if (!readExactly(source, 0, riff, sizeof riff)) return false;
    if (std::memcmp(riff, "RIFF", 4) != 0 || std::memcmp(riff + 8, "WAVE", 4) != 0) return false;
    // Chunks must lie within both the file and the size the RIFF header declares.
    const std::uint64_t end = std::min<std::uint64_t>(source.size(), kChunkHeaderSize + std::uint64_t{u32(riff + 4)});

    RiffChunkWalk walk([&source](std::uint64_t offset, std::uint8_t* into,
                                 std::size_t count) { return source.readAt(offset, into, count); },
                       kRiffHeaderSize, end);
    RiffChunk chunk;
    for (int count = 0; count < kMaxChunksBeforeFormat && walk.next(chunk); ++count) {
        if (std::memcmp(chunk.tag, "fmt ", 4) == 0) {
            if (chunk.size < kPcmFormatSize) return false;
            unsigned char body[kExtensibleFormatSize];
            const std::size_t wanted = std::min<std::size_t>(chunk.size, sizeof body);
            return readExactly(source, chunk.bodyOffset, body, wanted) && isPlayableFormat(body, wanted);
        }
    }
    return false;
}

}  // namespace quorvel
