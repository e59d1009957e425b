// A configuration read back from JSON shaped as `show` prints it.
#pragma once

#include <nlohmann/json.hpp>
#include <vector>

#include "Assignments.h"
#include "config/DeviceConfiguration.h"

namespace quorvel::card_tool {

enum class JsonEntry {
    Typed,   // every value through the window's entry rules, as `set` enters it
    Stored,  // values taken as they are, as a card file may hold them
};

// Puts every value `json` holds into `config`; values it leaves out keep
// what `config` held. Returns one refusal per value not taken, its
// `argument` being the value's path; refused values leave `config` alone.
std::vector<Refusal> readConfigurationJson(const nlohmann::ordered_json& json, JsonEntry entry,
                                           DeviceConfiguration& config);
// As above; `named` receives the path of every configuration value `json` names.
std::vector<Refusal> readConfigurationJson(const nlohmann::ordered_json& json, JsonEntry entry,
                                           DeviceConfiguration& config, std::vector<std::string>& named);

}  // namespace quorvel::card_tool
