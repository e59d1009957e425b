// Reading a JSON file named on the command line.
#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <ostream>
#include <string>

namespace quorvel::card_tool {

// The parsed file; nothing, after saying why on `err`, when it cannot be
// read or is not JSON.
std::optional<nlohmann::ordered_json> readJsonFile(const std::string& path, std::ostream& err);

}  // namespace quorvel::card_tool
