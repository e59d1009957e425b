// `ajustor-card report` runs in a program of its own: the report is drawn
// with Qt, and loading Qt's libraries would cost every other command of the
// tool (a prompt conversion, a `set` in a script) about 40 ms at start.
#pragma once

#include <ostream>
#include <string>

#include "ExitCode.h"

namespace quorvel::card_tool {

// The report program's file name, beside ajustor-card in the build tree and
// in the package's libexec folder once installed.
inline constexpr const char* kReportProgram = "ajustor-card-report";

// Replaces this process with the report program on `folder` and `output`;
// returns only when it cannot be started, having said why on `err`.
ExitCode runReportProgram(const std::string& folder, const std::string& output, std::ostream& err);

}  // namespace quorvel::card_tool
