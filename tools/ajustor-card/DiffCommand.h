// `ajustor-card diff`: what sets two cards apart.
#pragma once

#include <ostream>
#include <string>

#include "ExitCode.h"

namespace quorvel::card_tool {

// `from` and `to` are each a card folder or a JSON file as `show` prints it;
// a JSON file holding only some values is compared on those alone.
// Prints {"differences": [{"path", "from", "to"}, ...]} in path order, the
// prompts included when both are folders. Success when they are equal,
// FindingsReported when they differ, CardFailure (nothing printed on `out`)
// when either cannot be read.
ExitCode diffCards(const std::string& from, const std::string& to, std::ostream& out, std::ostream& err);

}  // namespace quorvel::card_tool
