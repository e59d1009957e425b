#pragma once

#include <cstddef>

namespace quorvel {

// Copies Count bytes between buffers that do not overlap, with the routine
// chosen once at start-up from the processor's features.
void FastCopy(void* Destination, const void* Source, std::size_t Count);

// True when the start-up choice was the 16-byte block copy.
bool FastCopyUsesBlocks();

// The 16-byte block copy itself, for tests that must reach it on any machine.
void BlockCopy16(void* Destination, const void* Source, std::size_t Count);

}  // namespace quorvel
