// A whole configuration into a card folder: `apply`.
#pragma once

#include <ostream>
#include <string>

#include "ExitCode.h"

namespace quorvel {
class CardSession;
}

namespace quorvel::card_tool {

// Enters every value of the JSON file `file` (as `show` prints it) into the
// card in `folder` through the window's entry rules and saves. Values the
// file leaves out keep the card's. All or nothing: every refused value is
// named with its path on `err`, and nothing is written.
ExitCode applyCard(CardSession& session, const std::string& file, std::ostream& err);

}  // namespace quorvel::card_tool
