// The card commands of ajustor-card, and the load and error report they share. Each returns the
// process exit status; results go to `out`, error texts to `err`.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "ExitCode.h"

namespace quorvel {
class CardFolder;
class CardSession;
struct CardResult;
struct DeviceConfiguration;
}  // namespace quorvel

namespace quorvel::card_tool {

// Prints the error box text of a failed read on `err`; the status the command ends with.
ExitCode reportReadError(const CardResult& result, std::ostream& err);

// Loads `card` into `config`; false, with the error printed on `err`, when it cannot.
bool loadCard(const CardFolder& card, DeviceConfiguration& config, std::ostream& err);
// The same through the card's session, which remembers what it read.
bool loadCard(CardSession& session, DeviceConfiguration& config, std::ostream& err);

// Prints what a failed write left on the card; the status the command ends with.
ExitCode reportWrite(const CardResult& result, std::ostream& err);

// Creates the card files missing from the session's card.
ExitCode initCard(CardSession& session, std::ostream& err);

// Prints the configuration loaded from `folder` as JSON, even when the load
// stops at a broken file: then what was read before it is printed.
ExitCode showCard(const std::string& folder, std::ostream& out, std::ostream& err);

// Loads the card, enters every PATH=VALUE and saves; writes nothing when the
// load fails or any value is refused.
ExitCode setCard(CardSession& session, const std::vector<std::string>& assignments, std::ostream& err);

}  // namespace quorvel::card_tool
