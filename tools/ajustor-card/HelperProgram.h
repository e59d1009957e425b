// Programs of ajustor-card's own that run the commands needing Qt, so that
// the other commands never load it.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "ExitCode.h"

namespace quorvel::card_tool {

// Replaces this process with helper program `name`, found beside
// ajustor-card in the build tree or in the package's libexec folder, given
// `arguments`; returns only when it cannot be started, having said why.
ExitCode runHelperProgram(const std::string& name, const std::vector<std::string>& arguments, std::ostream& err);

}  // namespace quorvel::card_tool
