// A configuration read back from JSON shaped as `show` prints it.
#pragma once

#include <cstddef>
#include <nlohmann/json.hpp>
#include <ostream>
#include <string>
#include <vector>

#include "Assignments.h"
#include "config/DeviceConfiguration.h"

namespace quorvel::card_tool {

enum class JsonEntry {
    Typed,   // every value through the window's entry rules, as `set` enters it
    Stored,  // values taken as they are, as a card file may hold them
};

// A screenful: a file of many refused values is named by its first ones.
inline constexpr std::size_t kShownRefusals = 20;

struct JsonRefusals {
    std::vector<Refusal> shown;  // the first kShownRefusals, `argument` being the value's path
    std::size_t count = 0;       // all of them

    bool empty() const { return count == 0; }
};

// Puts every value `json` holds into `config`; values it leaves out keep
// what `config` held. Counts every value not taken, keeping the first ones;
// refused values leave `config` alone.
JsonRefusals readConfigurationJson(const nlohmann::ordered_json& json, JsonEntry entry, DeviceConfiguration& config);
// As above; `named` receives the path of every configuration value `json` names.
JsonRefusals readConfigurationJson(const nlohmann::ordered_json& json, JsonEntry entry, DeviceConfiguration& config,
                                   std::vector<std::string>& named);

// One line per refusal shown, each after `prefix`, and one that counts the others.
void printRefusals(const JsonRefusals& refusals, const std::string& prefix, std::ostream& err);

}  // namespace quorvel::card_tool
