#include "DiskCommands.h"

#include "HelperProgram.h"

namespace quorvel::card_tool {

void addDiskCommands(CLI::App& app, DiskCommands& commands) {
    commands.cards = app.add_subcommand("cards", "Print the inserted memory cards as JSON");
    commands.eject =
        app.add_subcommand("eject", "Write the card holding DIR through, then unmount it so that it may be pulled out");
    commands.eject->add_option("DIR", commands.folder, "Card folder")->required()->check(CLI::ExistingDirectory);
}

std::optional<ExitCode> runDiskCommand(const DiskCommands& commands, std::ostream& err) {
    if (*commands.cards) return runHelperProgram(kDiskProgram, {"cards"}, err);
    if (*commands.eject) return runHelperProgram(kDiskProgram, {"eject", commands.folder}, err);
    return std::nullopt;
}

}  // namespace quorvel::card_tool
