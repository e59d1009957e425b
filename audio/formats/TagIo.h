#pragma once

#include <cstddef>
#include <cstdint>

namespace quorvel {

// Descriptor I/O for the tag readers: whole counts, retried on interruption.
std::size_t ReadFully(int Handle, void* Buffer, std::size_t Count);
bool WriteFully(int Handle, const void* Buffer, std::size_t Count);
// -1 when the descriptor cannot tell.
std::int64_t FileLength(int Handle);
std::int64_t FilePosition(int Handle);
bool SetFilePosition(int Handle, std::int64_t Position);

}  // namespace quorvel
