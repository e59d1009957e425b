// backup and restore: the window's folder copy from the command line.
#pragma once

#include <ostream>
#include <string>

#include "ExitCode.h"
#include "operations/FileCopy.h"

namespace quorvel::card_tool {

// Copies the plain files of `source` into `destination`, naming each file
// copied on `progress` when there is one. Every file not copied is named on
// `err` with the reason, and the result is then CardFailure.
ExitCode copyFolder(const std::string& source, const std::string& destination, ReadOnlyTarget readOnly,
                    std::ostream* progress, std::ostream& err);

}  // namespace quorvel::card_tool
