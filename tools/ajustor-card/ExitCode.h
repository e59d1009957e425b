// Exit statuses of ajustor-card, so that scripts can tell a broken card from
// a refused value or a mistyped command line.
#pragma once

namespace quorvel::card_tool {

enum class ExitCode : int {
    Success = 0,
    CardFailure = 1,       // a card file could not be created, read or written
    ValueRefused = 2,      // a PATH=VALUE the window would not accept; nothing written
    FindingsReported = 3,  // the call-flow check found something, or diff a difference
    Usage = 64,            // bad command line (the BSD EX_USAGE value)
};

constexpr int toStatus(ExitCode code) { return static_cast<int>(code); }

}  // namespace quorvel::card_tool
