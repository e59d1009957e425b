// The configuration as `ajustor-card show` prints it: the data model's field
// names, arrays indexed from 0 (menus by menu number, options by digit).
#pragma once

#include <nlohmann/json.hpp>

#include "config/DeviceConfiguration.h"

namespace quorvel::card_tool {

nlohmann::ordered_json configurationToJson(const DeviceConfiguration& config);

}  // namespace quorvel::card_tool
