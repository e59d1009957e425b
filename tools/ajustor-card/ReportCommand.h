// `ajustor-card report`: the card's printable report as a PDF, drawn on Qt's
// offscreen platform so it needs no display.
#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "ExitCode.h"

namespace quorvel::card_tool {

// Why `output` cannot take the report before anything is drawn: it exists
// and is neither a plain file nor a symbolic link (a folder, a device such
// as /dev/full, a FIFO).
std::optional<std::string> checkReportOutput(const std::string& output);

// Loads `folder` and puts its report in place of `output`, which keeps any
// earlier content when the report cannot be written whole.
ExitCode reportCard(const std::string& folder, const std::string& output, std::ostream& err);

}  // namespace quorvel::card_tool
