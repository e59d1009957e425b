// `ajustor-card holidays`: the national holidays of a year into the card.
#pragma once

#include <ostream>
#include <string>

#include "ExitCode.h"

namespace quorvel {
class CardSession;
}

namespace quorvel::card_tool {

// Fills the holiday fields of the session's card with the national holidays of `year`,
// keeping the card's other dates where fields are free and naming on `err`
// those left out; saves and prints {"holidays": [...]} as `show` prints them.
ExitCode holidaysCard(CardSession& session, int year, std::ostream& out, std::ostream& err);

}  // namespace quorvel::card_tool
