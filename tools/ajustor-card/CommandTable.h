// Every command of ajustor-card, once: its name, help, how it uses the card
// and its handler. main() declares, locks and dispatches from this table.
#pragma once

#include <iosfwd>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "CardWriteLock.h"
#include "ExitCode.h"
#include "PromptCommand.h"

namespace CLI {
class App;
}

namespace quorvel {
class CardSession;
}

namespace quorvel::card_tool {

// Every option and operand of every command; a command fills its own.
struct Arguments {
    std::string folder;
    std::string destination;
    std::string other;
    std::string reportFile;
    std::vector<std::string> assignments;
    PromptArguments prompt;
    int year = 0;
    std::string revision;  // history --restore
    WriteLockOptions lock;
};

enum class CardUse {
    None,    // reads files without a lock; never waits
    Reads,   // reads the card whole while no one writes it
    Writes,  // writes the card through its session
};

struct CommandContext {
    Arguments& arguments;
    CardSession* session;  // the card's session for Reads and Writes, else null
    std::ostream& out;
    std::ostream& err;
};

struct Command {
    const char* name;
    const char* help;
    CardUse use;
    void (*declare)(CLI::App& command, Arguments& arguments);
    // The card folder the command reads or writes (Reads and Writes).
    const std::string& (*card)(const Arguments& arguments);
    ExitCode (*run)(CommandContext& context);
    // How the command uses the card with these arguments, where that
    // depends on them (history reads, history --restore writes).
    CardUse (*useWith)(const Arguments& arguments) = nullptr;
    // Input refused before the card is held (a JSON file that is a FIFO):
    // the reason, or nothing. Null when the command reads no such input.
    std::optional<std::string> (*refuseInput)(const Arguments& arguments) = nullptr;
};

std::span<const Command> commands();

}  // namespace quorvel::card_tool
