// backup and restore: the window's folder copies from the command line.
#pragma once

#include <ostream>
#include <string>

#include "CardWriteLock.h"
#include "ExitCode.h"

namespace quorvel {
class CardSession;
}

namespace quorvel::card_tool {

// Copies the plain files of the session's card into `destination` while no
// one writes the card, naming each file copied on `progress` when there is
// one. Every file not copied is named on `err` with the reason, and the
// result is then CardFailure.
// `destination` is held as a card is written, for it may be another card.
ExitCode backupCard(CardSession& session, const std::string& destination, const WriteLockOptions& options,
                    std::ostream* progress, std::ostream& err);

// Keeps the card's files in a safety folder, then replaces them with the
// plain files of `source`, all or none; names the safety folder on `err`.
ExitCode restoreCard(CardSession& session, const std::string& source, std::ostream* progress, std::ostream& err);

}  // namespace quorvel::card_tool
