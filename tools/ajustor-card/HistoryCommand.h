// `ajustor-card history`: the versions a card's history keeps, and a
// version brought back into the card.
#pragma once

#include <ostream>
#include <string>

#include "ExitCode.h"

namespace quorvel {
class CardSession;
}

namespace quorvel::card_tool {

// Prints {"card", "repository", "versions": [{"id", "time", "action",
// "paths"}, ...]} newest first.
ExitCode printHistory(const std::string& folder, std::ostream& out, std::ostream& err);

// Writes the files of version `rev` into the session's card as `restore`
// writes a backup, recorded as the version "Restauração da versão <short id>".
ExitCode restoreVersion(CardSession& session, const std::string& rev, std::ostream* progress, std::ostream& err);

}  // namespace quorvel::card_tool
