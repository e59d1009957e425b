// `cards` and `eject`: the memory cards the desktop's disk service knows.
// Both run in ajustor-card-disks, which talks to the service through Qt.
#pragma once

#include <ostream>
#include <string>

#include "ExitCode.h"

namespace quorvel::card_tool {

inline constexpr const char* kDiskProgram = "ajustor-card-disks";

// Prints the inserted memory cards as JSON.
ExitCode listCards(std::ostream& err);
// Writes the card holding `folder` through, then unmounts it.
ExitCode ejectCard(const std::string& folder, std::ostream& err);

}  // namespace quorvel::card_tool
