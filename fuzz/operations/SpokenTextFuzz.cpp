// Text to be spoken comes from a command line, standard input or the
// window: the check must read any bytes safely and pass none that are not
// UTF-8 text within the limit.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "operations/prompt/SpokenTextCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (!quorvel::SpokenTextRefusal(text).empty()) return 0;
    // Bytes that never occur in UTF-8, and NUL, which ends the engine's text.
    const bool foreign = std::any_of(text.begin(), text.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte == 0 || byte == 0xC0 || byte == 0xC1 || byte >= 0xF5;
    });
    const bool onlySpaces = text.find_first_not_of(" \t\r\n") == std::string_view::npos;
    if (size > quorvel::MaxSpokenTextBytes || foreign || onlySpaces) std::abort();
    return 0;
}
