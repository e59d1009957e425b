#pragma once

#include <cstdint>

namespace quorvel {

// A 16-byte identifier in its standard stored layout.
struct TGuid {
    std::uint32_t D1;
    std::uint16_t D2;
    std::uint16_t D3;
    std::uint8_t D4[8];
};
static_assert(sizeof(TGuid) == 16);

bool SameGuid(const TGuid& A, const TGuid& B);

}  // namespace quorvel
