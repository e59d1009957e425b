// Runs the built ajustor-card binary and captures what it printed.
#pragma once

#include <sys/types.h>

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

// A tool started and not yet waited for, to run tools side by side.
class StartedTool {
public:
    explicit StartedTool(const std::vector<std::string>& arguments,
                         std::optional<unsigned long> fileSizeLimit = std::nullopt);
    ~StartedTool();
    StartedTool(const StartedTool&) = delete;
    StartedTool& operator=(const StartedTool&) = delete;

    pid_t pid() const { return pid_; }
    // Reads the tool's error output until it holds `text`; false when the
    // tool closed it first.
    bool awaitError(const std::string& text);
    // Reads the rest of the output and waits for the tool to end.
    ToolRun finish();

private:
    pid_t pid_ = -1;
    int out_ = -1;
    int err_ = -1;
    ToolRun run_;
};
