// ajustor-card prompts and level-all: every prompt of a card at once.
#pragma once

#include <iosfwd>
#include <string>

#include "ExitCode.h"

namespace quorvel::card_tool {

// Prints each prompt's state and figures as JSON, in the overview's order.
ExitCode printPrompts(const std::string& folder, std::ostream& out);

// Levels every present prompt to the speech target and prints what became
// of each as JSON; CardFailure when a prompt could not be levelled.
ExitCode levelAllPrompts(const std::string& folder, std::ostream& out);

}  // namespace quorvel::card_tool
