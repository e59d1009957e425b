// The three commands of ajustor-card on one card folder. Each returns the
// process exit status; results go to `out`, error texts to `err`.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "ExitCode.h"

namespace quorvel::card_tool {

// Creates the card files missing from `folder`.
ExitCode initCard(const std::string& folder, std::ostream& err);

// Prints the configuration loaded from `folder` as JSON, even when the load
// stops at a broken file: then what was read before it is printed.
ExitCode showCard(const std::string& folder, std::ostream& out, std::ostream& err);

// Loads `folder`, enters every PATH=VALUE and saves; writes nothing when the
// load fails or any value is refused.
ExitCode setCard(const std::string& folder, const std::vector<std::string>& assignments, std::ostream& err);

}  // namespace quorvel::card_tool
