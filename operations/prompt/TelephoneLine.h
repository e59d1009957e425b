// A prompt as a caller hears it: resampled to 8000 Hz, limited to the
// 300-3400 Hz band of a telephone line and passed through G.711 A-law.
#pragma once

#include "config/FileSystem.h"

#include <cstdint>
#include <string>

namespace quorvel {

inline constexpr int TelephoneSampleRate = 8000;

std::uint8_t ALawEncode(std::int16_t Sample);
std::int16_t ALawDecode(std::uint8_t Code);

// Writes the telephone version of the prompt at Source as a prompt of 8000 Hz
// into the existing file Destination. Raises std::runtime_error when the
// device would not play Source or Destination cannot be written.
void MakeTelephoneCopy(const std::string& Source, const std::string& Destination, FileSystem& Files = realFileSystem());

}  // namespace quorvel
