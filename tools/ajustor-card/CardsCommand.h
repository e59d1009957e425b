// The disk program's commands: the inserted cards as JSON, and a card
// written through and unmounted so that it may be pulled out.
#pragma once

#include <ostream>
#include <string>

#include "ExitCode.h"
#include "shell/RemovableCards.h"

namespace quorvel::card_tool {

ExitCode printCards(const RemovableCards& cards, std::ostream& out, std::ostream& err);

ExitCode ejectCard(const RemovableCards& cards, const std::string& folder, std::ostream& out, std::ostream& err);

}  // namespace quorvel::card_tool
