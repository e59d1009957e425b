// What a card folder shows when the card was pulled out, or the machine
// stopped, while the tool was writing it.
#pragma once

#include <string>
#include <vector>

#include "CardFolder.h"

namespace quorvel {

// The folder holds at least one card file.
bool holdsCardFiles(const CardFolder& card);

// The names of the folder's files that tell of a write cut short, sorted:
// the tool's temporary files, and card files whose length is neither that
// of their record line nor that of the file made at start-up.
std::vector<std::string> interruptedWriteSigns(const CardFolder& card);

}  // namespace quorvel
