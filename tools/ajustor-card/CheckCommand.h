// `ajustor-card check`: the call-flow check of a card folder.
#pragma once

#include <ostream>
#include <string>

#include "ExitCode.h"

namespace quorvel::card_tool {

// Loads `folder` and prints {"findings": [{"code", "path", "message"}, ...]}
// by code and path. Prints nothing on stdout when the card cannot be read.
ExitCode checkCard(const std::string& folder, std::ostream& out, std::ostream& err);

}  // namespace quorvel::card_tool
