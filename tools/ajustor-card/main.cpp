// ajustor-card: prepares an auto-attendant memory card from the command line.
#include <iostream>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "CardCommands.h"
#include "ExitCode.h"

using namespace quorvel::card_tool;

int main(int argc, char** argv) {
    CLI::App app{"Creates, prints and edits the configuration files of an auto-attendant memory card.", "ajustor-card"};
    app.set_version_flag("--version", "ajustor-card " QUORVEL_VERSION);
    app.require_subcommand(1);

    std::string folder;
    std::vector<std::string> assignments;

    CLI::App* init = app.add_subcommand("init", "Create the card files missing from DIR");
    init->add_option("DIR", folder, "Card folder")->required()->check(CLI::ExistingDirectory);

    CLI::App* show = app.add_subcommand("show", "Print the configuration held in DIR as JSON");
    show->add_option("DIR", folder, "Card folder")->required()->check(CLI::ExistingDirectory);

    CLI::App* set = app.add_subcommand("set", "Change values and save every card file in DIR");
    set->add_option("DIR", folder, "Card folder")->required()->check(CLI::ExistingDirectory);
    set->add_option("PATH=VALUE", assignments, "Value to enter, e.g. menus.3.1.target1=M2")->required();

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        const int status = app.exit(error);
        return status == 0 ? 0 : toStatus(ExitCode::Usage);
    }

    ExitCode result = ExitCode::Success;
    if (*init) {
        result = initCard(folder, std::cerr);
    } else if (*show) {
        result = showCard(folder, std::cout, std::cerr);
    } else {
        result = setCard(folder, assignments, std::cerr);
    }
    return toStatus(result);
}
