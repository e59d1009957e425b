// The hold every command that writes a card, or copies it whole, takes on it.
#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "operations/session/CardSession.h"

namespace quorvel::card_tool {

struct WriteLockOptions {
    bool force = false;         // write even though a window has the card open
    double waitSeconds = 30.0;  // how long to wait for another writer
};

// Holds the card of `session` for `command`, saying on `err` when it has to
// wait. A reader is not stopped by a window. Returns nothing after naming the
// holder on `err` when a window has the card open or another writer kept it
// for the whole wait.
std::optional<CardSession::Hold> holdCard(CardSession& session, const std::string& command,
                                          const WriteLockOptions& options, bool reading, std::ostream& err);

}  // namespace quorvel::card_tool
