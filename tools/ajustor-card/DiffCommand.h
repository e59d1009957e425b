// `ajustor-card diff`: what sets two cards apart.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <utility>

#include "ExitCode.h"

namespace quorvel::card_tool {

// `from` and `to` are each a card folder or a JSON file as `show` prints it;
// a JSON file holding only some values is compared on those alone.
// Prints {"differences": [{"path", "from", "to"}, ...]} in path order, the
// prompts included when both are folders. Success when they are equal,
// FindingsReported when they differ, CardFailure (nothing printed on `out`)
// when either cannot be read.
ExitCode diffCards(const std::string& from, const std::string& to, std::ostream& out, std::ostream& err);

// "DIR@REV" names version REV of the history of the card folder DIR: the
// folder and the REV, or nothing when `operand` is an existing path or DIR is
// not a folder.
std::optional<std::pair<std::string, std::string>> versionOperand(const std::string& operand);

// diffCards on operands that may each name a version of a card's history;
// such a version is compared as a folder holding its files.
ExitCode diffOperands(const std::string& from, const std::string& to, std::ostream& out, std::ostream& err);

}  // namespace quorvel::card_tool
