// ajustor-card prompt: a recording, or a typed text spoken, made into a
// menu's prompt file.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>

#include "ExitCode.h"

namespace quorvel::card_tool {

struct PromptArguments {
    std::string folder;
    std::string target;               // "0".."9" or "vinheta"
    std::string file;                 // the recording; or else
    std::optional<std::string> text;  // to be spoken, "-" for standard input
    std::optional<std::string> voice;
    std::optional<std::string> ttsCommand;
    std::string level;  // peak for a recording, speech for a text, when not given
    bool trim = false;
};

// Prints the installed prompt's summary as JSON on `out`; errors, and a
// progress bar when `showProgress`, go to `err`. `in` is read for "--text -".
ExitCode promptCard(const PromptArguments& arguments, std::istream& in, std::ostream& out, std::ostream& err,
                    bool showProgress);

}  // namespace quorvel::card_tool
