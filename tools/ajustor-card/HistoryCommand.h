// `ajustor-card history`: the versions a card's history keeps, and a
// version brought back into the card.
#pragma once

#include <ostream>
#include <string>

#include "ExitCode.h"

namespace quorvel::card_tool {

// Prints {"card", "repository", "versions": [{"id", "time", "action",
// "paths"}, ...]} newest first.
ExitCode printHistory(const std::string& folder, std::ostream& out, std::ostream& err);

// Copies the files of version `rev` into the card as `restore` copies a
// backup, then records the card as the version "Restauração da versão
// <short id>". A history that cannot record it is said on `err` only.
ExitCode restoreVersion(const std::string& folder, const std::string& rev, std::ostream* progress, std::ostream& err);

}  // namespace quorvel::card_tool
