// Whether a voice prompt's header describes audio the device plays: a
// RIFF/WAVE file whose format chunk says 16-bit mono PCM. Only the RIFF
// header and the chunk headers up to "fmt " are read, never the samples.
#pragma once

#include <cstddef>
#include <cstdint>

namespace quorvel {

// Random access to the bytes of one file.
class ByteSource {
public:
    virtual ~ByteSource() = default;

    virtual std::uint64_t size() const = 0;
    // Reads up to `count` bytes at `offset`; returns how many were read.
    virtual std::size_t readAt(std::uint64_t offset, unsigned char* into, std::size_t count) = 0;
};

bool isPlayablePromptHeader(ByteSource& source);

}  // namespace quorvel
