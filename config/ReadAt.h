// Reading a file at an offset, for readers that jump between a header's
// chunks or a file's blocks without moving a shared position.
#pragma once

#include <cstddef>
#include <cstdint>

namespace quorvel {

// Bytes read from `descriptor` at `offset` into `into`, retried after an
// interruption; fewer than `count` only at the end of the file or on an error.
std::size_t readAt(int descriptor, std::uint64_t offset, unsigned char* into, std::size_t count);

}  // namespace quorvel
