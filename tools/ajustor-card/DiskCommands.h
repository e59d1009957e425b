// `cards` and `eject`: the memory cards the desktop's disk service knows.
// Both run in ajustor-card-disks, which talks to the service through Qt.
#pragma once

#include <optional>
#include <ostream>
#include <string>

#include <CLI/CLI.hpp>

#include "ExitCode.h"

namespace quorvel::card_tool {

inline constexpr const char* kDiskProgram = "ajustor-card-disks";

struct DiskCommands {
    CLI::App* cards = nullptr;
    CLI::App* eject = nullptr;
    std::string folder;
};

void addDiskCommands(CLI::App& app, DiskCommands& commands);

// Runs the disk command given, if any; nothing when another command was given.
std::optional<ExitCode> runDiskCommand(const DiskCommands& commands, std::ostream& err);

}  // namespace quorvel::card_tool
