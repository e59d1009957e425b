// Whether a voice prompt's header describes audio the device plays. The
// device is held to the one layout the prompt writer produces, because it
// reads a prompt from fixed places:
//   "RIFF" at offset 0, "WAVE", a "fmt " chunk of 16 bytes (PCM, 1 channel,
//   16 bits, block align 2, byte rate twice the sample rate), then "data"
//   at offset 36 with its samples from offset 44, all of them in the file.
// Anything else is judged unplayable with the first fault found, format
// faults first because they say what to convert: bytes before "RIFF",
// tags in another letter case, other chunks ("LIST", "fact") before the
// data, the extensible format, a data chunk longer than the file. What
// follows the data is never read by the device and is allowed, and so is
// any RIFF size. Only the header bytes are read, never the samples.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace quorvel {

// Random access to the bytes of one file.
class ByteSource {
public:
    virtual ~ByteSource() = default;

    virtual std::uint64_t size() const = 0;
    // Reads up to `count` bytes at `offset`; returns how many were read.
    virtual std::size_t readAt(std::uint64_t offset, unsigned char* into, std::size_t count) = 0;
};

inline constexpr std::size_t kPromptHeaderSize = 44;
// The sample rates a prompt may have: outside them no telephone plays it.
inline constexpr std::uint32_t kPromptMinimumRate = 1000;
inline constexpr std::uint32_t kPromptMaximumRate = 384000;

struct PromptHeaderVerdict {
    bool playable = false;
    // Why the device cannot play it, as the user reads it; empty when playable.
    std::string reason;
    // Of a playable prompt: the samples are the dataBytes from offset kPromptHeaderSize.
    std::uint32_t sampleRate = 0;
    std::uint32_t dataBytes = 0;
};

PromptHeaderVerdict judgePromptHeader(ByteSource& source);

// The header the prompt writer puts before `dataBytes` of 16-bit mono samples.
void makePromptHeader(unsigned char (&header)[kPromptHeaderSize], std::uint32_t sampleRate, std::uint32_t dataBytes);

}  // namespace quorvel
