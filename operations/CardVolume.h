// The file system a card folder lies on, as a whole: written through before
// the card is ejected, and the programs that keep it from being unmounted.
#pragma once

#include <string>
#include <vector>

#include "config/CardResult.h"

namespace quorvel {

// Writes every pending change of the file system holding `folder` to its
// medium.
[[nodiscard]] CardResult syncVolume(const std::string& folder);

// The processes with a file, folder or working folder on the file system
// holding `folder`, as "name (pid N)", by pid.
std::vector<std::string> processesUsingVolume(const std::string& folder);

}  // namespace quorvel
