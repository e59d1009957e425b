// Entering a value into a field the way the window accepts it: typed or
// pasted through the field's key filter and length limit, then checked as
// the window checks a field that loses the focus; a list's item picked by
// the text the window shows or by its index.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "FieldTable.h"

namespace quorvel {

// Stores `value` into `field` of `config` when the window would keep it
// unchanged; otherwise leaves the field alone and returns why (the window's
// own messages for the exit checks, every one of them). A list takes the
// text of one of its items first, then an item index ("-1" for none).
std::vector<std::string> enterValue(const ConfigurationField& field, DeviceConfiguration& config,
                                    std::string_view value);

// Selects the item `index` of the list `field` (-1: none), or says why not.
std::vector<std::string> selectItem(const ConfigurationField& field, DeviceConfiguration& config, long long index);

}  // namespace quorvel
