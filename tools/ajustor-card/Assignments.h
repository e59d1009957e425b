// The PATH=VALUE arguments of `ajustor-card set`.
#pragma once

#include <string>
#include <vector>

#include "config/DeviceConfiguration.h"

namespace quorvel::card_tool {

struct Refusal {
    std::string argument;  // the PATH=VALUE as given
    std::string message;
};

// Enters every assignment into `config`, in the order given, and returns one
// refusal per problem found: unknown paths, malformed arguments and values
// the window would not accept. Refused assignments leave `config` as it was.
std::vector<Refusal> applyAssignments(DeviceConfiguration& config, const std::vector<std::string>& arguments);

}  // namespace quorvel::card_tool
