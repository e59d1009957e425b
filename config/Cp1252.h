// Code page 1252, the card's text encoding.
#pragma once

#include <string>
#include <string_view>

namespace quorvel {

std::string cp1252ToUtf8(std::string_view bytes);
// Characters that code page 1252 cannot hold become "?".
std::string utf8ToCp1252(std::string_view text);

}  // namespace quorvel
