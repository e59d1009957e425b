// Another speech engine, run as a command: the text on its standard input,
// a WAV on its standard output.
#pragma once

#include <chrono>
#include <string>

namespace quorvel {

// Runs `Command` with /bin/sh, feeds it `Text` and writes what it prints to
// `Destination`. Raises std::runtime_error when it cannot be started, ends
// with a status other than 0 or by a signal (its error output appended), runs
// past `Limit` (it is then killed), or prints something that is not a WAV.
void RunSpeechCommand(const std::string& Command, const std::string& Text, std::chrono::milliseconds Limit,
                      const std::string& Destination);

}  // namespace quorvel
