// Checks of option values that CLI11's own number reading would take too
// loosely: it reads "0x7ea" as hexadecimal, "02026" as octal and "1e10" or
// "nan" as numbers of seconds.
#pragma once

#include <CLI/CLI.hpp>

namespace quorvel::card_tool {

// The longest --wait: a day.
inline constexpr int kMaxWaitSeconds = 86400;

// --wait: seconds as decimal digits, a fraction allowed, from 0 to kMaxWaitSeconds.
CLI::Validator waitSeconds();

// YEAR of `holidays`: decimal digits, leading zeros read as zeros, within
// the years the holiday calendar serves. Hands the year on without them.
CLI::Validator holidayYear();

}  // namespace quorvel::card_tool
