// Entering a value into a field the way the window accepts it: typed or
// pasted through the field's key filter and length limit, then checked as
// the window checks a field that loses the focus.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "FieldPath.h"

namespace quorvel::card_tool {

// Stores `value` into `field` when the window would keep it unchanged;
// otherwise leaves the field alone and returns why (the window's own
// messages for the exit checks, every one of them).
std::vector<std::string> enterValue(const FieldRef& field, std::string_view value);

}  // namespace quorvel::card_tool
