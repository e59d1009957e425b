#pragma once

#include <string>
#include <string_view>

namespace quorvel {

// Path text in the two encodings a file component keeps. Malformed input
// becomes U+FFFD rather than failing.
std::u16string Utf8ToUtf16(std::string_view Text);
std::string Utf16ToUtf8(std::u16string_view Text);

}  // namespace quorvel
