// Runs the built ajustor-card binary and captures what it printed.
#pragma once

#include <optional>
#include <string>
#include <vector>

struct ToolRun {
    int status = -1;  // exit status; -1 when the tool did not exit normally
    std::string out;
    std::string err;
};

// `fileSizeLimit` caps the size of files the tool may write (RLIMIT_FSIZE),
// the one way to make a write fail for a test that runs as root.
ToolRun runCardTool(const std::vector<std::string>& arguments,
                    std::optional<unsigned long> fileSizeLimit = std::nullopt);
