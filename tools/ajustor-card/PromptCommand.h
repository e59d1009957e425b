// ajustor-card prompt: a recording made into a menu's prompt file.
#pragma once

#include <iosfwd>
#include <string>

#include "ExitCode.h"

namespace quorvel::card_tool {

struct PromptArguments {
    std::string folder;
    std::string target;  // "0".."9" or "vinheta"
    std::string file;
    std::string level = "peak";
    bool trim = false;
};

// Prints the installed prompt's summary as JSON on `out`; errors, and a
// progress bar when `showProgress`, go to `err`.
ExitCode promptCard(const PromptArguments& arguments, std::ostream& out, std::ostream& err, bool showProgress);

}  // namespace quorvel::card_tool
