// The digits 0 to 9 of the card files and of what the user types; never a
// locale's other digits.
#pragma once

namespace quorvel {

constexpr bool isAsciiDigit(char32_t c) { return c >= U'0' && c <= U'9'; }

}  // namespace quorvel
