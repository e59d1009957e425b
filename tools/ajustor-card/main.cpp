// ajustor-card: prepares an auto-attendant memory card from the command line.
#include <unistd.h>

#include <csignal>
#include <iostream>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "ApplyCommand.h"
#include "CardCommands.h"
#include "CardWriteLock.h"
#include "CheckCommand.h"
#include "DiffCommand.h"
#include "DiskCommands.h"
#include "ExitCode.h"
#include "FolderCopyCommand.h"
#include "PromptCommand.h"
#include "PromptsCommand.h"
#include "ReportHelper.h"
#include "config/CardFolder.h"
#include "config/NationalHolidays.h"

using namespace quorvel::card_tool;

int main(int argc, char** argv) {
    // Past a file-size limit a write then fails with EFBIG, reported like a
    // full disk, instead of the signal killing the tool midway.
    std::signal(SIGXFSZ, SIG_IGN);
    CLI::App app{"Creates, prints and edits the configuration files of an auto-attendant memory card.", "ajustor-card"};
    app.set_version_flag("--version", "ajustor-card " QUORVEL_VERSION);
    app.require_subcommand(1);

    std::string folder;
    std::vector<std::string> assignments;
    std::string destination;
    WriteLockOptions lockOptions;
    const auto writing = [&lockOptions](CLI::App* command) {
        command->add_flag("--force", lockOptions.force, "Write even though the window has the card open");
        command->add_option("--wait", lockOptions.waitSeconds, "Seconds to wait for another writer (default 30)")
            ->check(CLI::NonNegativeNumber);
        return command;
    };

    CLI::App* init = writing(app.add_subcommand("init", "Create the card files missing from DIR"));
    init->add_option("DIR", folder, "Card folder")->required()->check(CLI::ExistingDirectory);

    CLI::App* show = app.add_subcommand("show", "Print the configuration held in DIR as JSON");
    show->add_option("DIR", folder, "Card folder")->required()->check(CLI::ExistingDirectory);

    CLI::App* set = writing(app.add_subcommand("set", "Change values and save every card file in DIR"));
    set->add_option("DIR", folder, "Card folder")->required()->check(CLI::ExistingDirectory);
    set->add_option("PATH=VALUE", assignments, "Value to enter, e.g. menus.3.1.target1=M2")->required();

    PromptArguments prompt;
    CLI::App* promptCommand =
        writing(app.add_subcommand("prompt", "Convert an MP3 or WAV recording into the prompt of a menu in DIR"));
    promptCommand->add_option("DIR", prompt.folder, "Card folder")->required()->check(CLI::ExistingDirectory);
    promptCommand->add_option("TARGET", prompt.target, "Menu digit 0-9, or vinheta")->required();
    promptCommand->add_option("FILE", prompt.file, "The recording, MP3 or WAV")->required();
    promptCommand->add_option("--level", prompt.level, "peak (default), speech or none");
    promptCommand->add_flag("--trim", prompt.trim, "Cut silence before and after the speech to 0.3 s and 0.5 s");

    CLI::App* prompts = app.add_subcommand("prompts", "Print the state and level of every prompt in DIR as JSON");
    prompts->add_option("DIR", folder, "Card folder")->required()->check(CLI::ExistingDirectory);

    CLI::App* levelAll =
        writing(app.add_subcommand("level-all", "Bring every prompt in DIR to the same speech level, -19 dBm0"));
    levelAll->add_option("DIR", folder, "Card folder")->required()->check(CLI::ExistingDirectory);

    CLI::App* backup = writing(app.add_subcommand("backup", "Copy the plain files of the card folder DIR into DEST"));
    backup->add_option("DIR", folder, "Card folder")->required()->check(CLI::ExistingDirectory);
    backup->add_option("DEST", destination, "Backup folder")->required()->check(CLI::ExistingDirectory);

    CLI::App* restore =
        writing(app.add_subcommand("restore", "Copy the plain files of the backup folder SRC into DEST"));
    restore->add_option("SRC", folder, "Backup folder")->required()->check(CLI::ExistingDirectory);
    restore->add_option("DEST", destination, "Card folder")->required()->check(CLI::ExistingDirectory);

    CLI::App* check = app.add_subcommand("check", "Print the call-flow findings of the card in DIR as JSON");
    check->add_option("DIR", folder, "Card folder")->required()->check(CLI::ExistingDirectory);

    std::string reportFile;
    CLI::App* report = app.add_subcommand("report", "Write the printable report of the card in DIR as a PDF");
    report->add_option("DIR", folder, "Card folder")->required()->check(CLI::ExistingDirectory);
    report->add_option("OUT", reportFile, "The PDF to write")->required();
    std::string other;
    CLI::App* diff = app.add_subcommand("diff", "Print what differs between two cards, folders or JSON as show prints");
    diff->add_option("A", folder, "Card folder or JSON file")->required()->check(CLI::ExistingPath);
    diff->add_option("B", other, "Card folder or JSON file")->required()->check(CLI::ExistingPath);

    CLI::App* apply =
        writing(app.add_subcommand("apply", "Enter every value of a JSON as show prints it and save DIR"));
    apply->add_option("DIR", folder, "Card folder")->required()->check(CLI::ExistingDirectory);
    apply->add_option("FILE", other, "The configuration, JSON")->required()->check(CLI::ExistingFile);

    int year = 0;
    CLI::App* holidays =
        writing(app.add_subcommand("holidays", "Fill the holidays of DIR with the national ones of YEAR"));
    holidays->add_option("DIR", folder, "Card folder")->required()->check(CLI::ExistingDirectory);
    holidays->add_option("YEAR", year, "Year")
        ->required()
        ->check(CLI::Range(quorvel::kFirstHolidayYear, quorvel::kLastHolidayYear));

    DiskCommands disks;
    addDiskCommands(app, disks);

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        const int status = app.exit(error);
        return status == 0 ? 0 : toStatus(ExitCode::Usage);
    }

    if (const auto result = runDiskCommand(disks, std::cerr)) return toStatus(*result);

    // Writers hold the folder they write until they exit; readers never wait.
    std::unique_ptr<quorvel::CardLock> cardLock;
    const bool copying = *backup || *restore;
    if (*init || *set || *apply || *holidays || *promptCommand || *levelAll || copying) {
        const std::string& written = copying ? destination : *promptCommand ? prompt.folder : folder;
        cardLock = lockForWriting(written, app.get_subcommands().front()->get_name(), lockOptions, std::cerr);
        if (!cardLock) return toStatus(ExitCode::CardFailure);
        // What a killed run of any writing command left behind.
        quorvel::CardFolder(written).removeLeftoverTemporaries();
    }

    ExitCode result = ExitCode::Success;
    if (*init) {
        result = initCard(folder, std::cerr);
    } else if (*show) {
        result = showCard(folder, std::cout, std::cerr);
    } else if (*check) {
        result = checkCard(folder, std::cout, std::cerr);
    } else if (*report) {
        result = runReportProgram(folder, reportFile, std::cerr);
    } else if (*set) {
        result = setCard(folder, assignments, std::cerr);
    } else if (*prompts) {
        result = printPrompts(folder, std::cout);
    } else if (*levelAll) {
        result = levelAllPrompts(folder, std::cout);
    } else if (*diff) {
        result = diffCards(folder, other, std::cout, std::cerr);
    } else if (*apply) {
        result = applyCard(folder, other, std::cerr);
    } else if (*holidays) {
        result = holidaysCard(folder, year, std::cout, std::cerr);
    } else if (*promptCommand) {
        result = promptCard(prompt, std::cout, std::cerr, ::isatty(STDERR_FILENO) == 1);
    } else {
        // Names of the files copied only for a person watching.
        const auto readOnly = *backup ? quorvel::ReadOnlyTarget::Replace : quorvel::ReadOnlyTarget::Refuse;
        result = copyFolder(folder, destination, readOnly, ::isatty(STDERR_FILENO) ? &std::cerr : nullptr, std::cerr);
    }
    return toStatus(result);
}
