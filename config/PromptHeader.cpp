#include "PromptHeader.h"

#include "riff/RiffChunks.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <vector>

namespace quorvel {
namespace {

// As far as the WAV reader looks for "RIFF" and the chunks before the data.
constexpr std::size_t kScanLimit = 8192;
constexpr int kMaxChunks = 64;
constexpr std::size_t kFormatSize = 16;
constexpr std::uint16_t kFormatPcm = 0x0001;
constexpr std::uint16_t kFormatExtensible = 0xFFFE;

std::uint16_t u16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }

std::uint32_t u32(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

void put16(unsigned char* p, std::uint32_t value) {
    for (int i = 0; i < 2; ++i) p[i] = static_cast<unsigned char>(value >> (8 * i));
}

void put32(unsigned char* p, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(value >> (8 * i));
}

bool tagIs(const unsigned char* bytes, const char* tag) { return std::memcmp(bytes, tag, 4) == 0; }

bool tagIgnoringCase(const unsigned char* bytes, const char* tag) {
    for (int i = 0; i < 4; ++i)
        if (std::tolower(bytes[i]) != std::tolower(static_cast<unsigned char>(tag[i]))) return false;
    return true;
}

// What the chunk walk found before the data.
struct HeaderScan {
    std::uint64_t riffAt = 0;
    bool exactTags = true;
    bool haveFormat = false;
    std::uint32_t formatSize = 0;
    unsigned char format[kFormatSize] = {};
    bool haveData = false;
    RiffChunk data;
    std::string extraTag;  // the first other chunk before the data
    bool extraChunk = false;
};

bool findRiff(ByteSource& source, HeaderScan& scan) {
    std::vector<unsigned char> head(static_cast<std::size_t>(std::min<std::uint64_t>(source.size(), kScanLimit + 12)));
    head.resize(source.readAt(0, head.data(), head.size()));
    for (std::size_t at = 0; at + 12 <= head.size(); ++at) {
        if (tagIgnoringCase(&head[at], "RIFF") && tagIgnoringCase(&head[at + 8], "WAVE")) {
            scan.riffAt = at;
            scan.exactTags = tagIs(&head[at], "RIFF") && tagIs(&head[at + 8], "WAVE");
            return true;
        }
    }
    return false;
}

void walkChunks(ByteSource& source, HeaderScan& scan) {
    RiffChunkWalk walk([&source](std::uint64_t offset, std::uint8_t* into,
                                 std::size_t count) { return source.readAt(offset, into, count); },
                       scan.riffAt + 12, source.size());
    RiffChunk chunk;
    for (int count = 0; count < kMaxChunks && walk.next(chunk, true); ++count) {
        if (tagIgnoringCase(chunk.tag, "data")) {
            scan.exactTags = scan.exactTags && tagIs(chunk.tag, "data");
            scan.haveData = true;
            scan.data = chunk;
            return;
        }
        // Only the data may be cut short by the end of the file.
        if (chunk.size > source.size() - chunk.bodyOffset) return;
        if (!scan.haveFormat && tagIgnoringCase(chunk.tag, "fmt ")) {
            scan.exactTags = scan.exactTags && tagIs(chunk.tag, "fmt ");
            scan.haveFormat =
                chunk.size >= kFormatSize && source.readAt(chunk.bodyOffset, scan.format, kFormatSize) == kFormatSize;
            scan.formatSize = chunk.size;
            if (!scan.haveFormat) return;
            continue;
        }
        if (!scan.extraChunk) {
            scan.extraChunk = true;
            if (plausibleTag(chunk.tag)) scan.extraTag.assign(chunk.tag, chunk.tag + 4);
        }
    }
}

// Why the format is not the device's, or nothing.
std::string formatFault(const unsigned char* format) {
    const std::uint16_t tag = u16(format);
    if (tag == kFormatExtensible) return "formato estendido";
    if (tag != kFormatPcm) return "não é PCM";
    if (u16(format + 14) != 16) return "não é 16 bits";
    if (u16(format + 2) != 1) return "não é mono";
    if (u16(format + 12) != 2) return "alinhamento de bloco errado";
    const std::uint32_t rate = u32(format + 4);
    if (rate < kPromptMinimumRate || rate > kPromptMaximumRate) return "taxa de amostragem inválida";
    if (u32(format + 8) != rate * 2) return "taxa de bytes errada";
    return {};
}

PromptHeaderVerdict unplayable(std::string reason) {
    PromptHeaderVerdict verdict;
    verdict.reason = std::move(reason);
    return verdict;
}

}  // namespace

PromptHeaderVerdict judgePromptHeader(ByteSource& source) {
    HeaderScan scan;
    if (!findRiff(source, scan)) return unplayable("não é WAV");
    walkChunks(source, scan);
    if (!scan.haveFormat) return unplayable("não é WAV");
    if (std::string fault = formatFault(scan.format); !fault.empty()) return unplayable(std::move(fault));
    if (!scan.haveData) return unplayable("sem dados de áudio");
    if (scan.riffAt != 0) return unplayable("bytes antes do cabeçalho");
    if (!scan.exactTags) return unplayable("cabeçalho em minúsculas");
    if (scan.extraChunk)
        return unplayable(scan.extraTag.empty() ? "bloco desconhecido antes dos dados"
                                                : "bloco \"" + scan.extraTag + "\" antes dos dados");
    if (scan.formatSize != kFormatSize) return unplayable("cabeçalho fora do padrão");
    // With all of the above, the data chunk's header is at offset 36.
    if (scan.data.size % 2 != 0 || scan.data.size > source.size() - kPromptHeaderSize)
        return unplayable("dados incompletos");
    PromptHeaderVerdict verdict;
    verdict.playable = true;
    verdict.sampleRate = u32(scan.format + 4);
    verdict.dataBytes = scan.data.size;
    return verdict;
}

void makePromptHeader(unsigned char (&header)[kPromptHeaderSize], std::uint32_t sampleRate, std::uint32_t dataBytes) {
    std::memcpy(header, "RIFF", 4);
    put32(header + 4, 36 + dataBytes);
    std::memcpy(header + 8, "WAVEfmt ", 8);
    put32(header + 16, kFormatSize);
    put16(header + 20, kFormatPcm);
    put16(header + 22, 1);
    put32(header + 24, sampleRate);
    put32(header + 28, sampleRate * 2);
    put16(header + 32, 2);
    put16(header + 34, 16);
    std::memcpy(header + 36, "data", 4);
    put32(header + 40, dataBytes);
}

}  // namespace quorvel
