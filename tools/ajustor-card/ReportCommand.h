// `ajustor-card report`: the card's printable report as a PDF, drawn on Qt's
// offscreen platform so it needs no display.
#pragma once

#include <ostream>
#include <string>

#include "ExitCode.h"

namespace quorvel::card_tool {

// Loads `folder` and writes its report into `output`.
ExitCode reportCard(const std::string& folder, const std::string& output, std::ostream& err);

}  // namespace quorvel::card_tool
