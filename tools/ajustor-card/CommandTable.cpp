#include "CommandTable.h"

#include <unistd.h>

#include <iostream>

#include <CLI/CLI.hpp>

#include "ApplyCommand.h"
#include "CardCommands.h"
#include "CheckCommand.h"
#include "DiffCommand.h"
#include "DiskCommands.h"
#include "FolderCopyCommand.h"
#include "HistoryCommand.h"
#include "HolidaysCommand.h"
#include "JsonFile.h"
#include "OptionChecks.h"
#include "PromptsCommand.h"
#include "ReportHelper.h"

namespace quorvel::card_tool {
namespace {

void cardFolder(CLI::App& command, Arguments& arguments) {
    command.add_option("DIR", arguments.folder, "Card folder")->required()->check(CLI::ExistingDirectory);
}

const std::string& folderOf(const Arguments& arguments) { return arguments.folder; }
const std::string& destinationOf(const Arguments& arguments) { return arguments.destination; }
const std::string& promptFolderOf(const Arguments& arguments) { return arguments.prompt.folder; }

// Names of the files copied, only for a person watching.
std::ostream* progressStream(std::ostream& err) { return ::isatty(STDERR_FILENO) == 1 ? &err : nullptr; }

constexpr Command kCommands[] = {
    {"init", "Create the card files missing from DIR", CardUse::Writes, cardFolder, folderOf,
     [](CommandContext& c) { return initCard(*c.session, c.err); }},
    {"show", "Print the configuration held in DIR as JSON", CardUse::None, cardFolder, nullptr,
     [](CommandContext& c) { return showCard(c.arguments.folder, c.out, c.err); }},
    {"set", "Change values and save every card file in DIR", CardUse::Writes,
     [](CLI::App& command, Arguments& arguments) {
         cardFolder(command, arguments);
         command.add_option("PATH=VALUE", arguments.assignments, "Value to enter, e.g. menus.3.1.target1=M2")
             ->required();
     },
     folderOf, [](CommandContext& c) { return setCard(*c.session, c.arguments.assignments, c.err); }},
    {"prompt", "Convert an MP3 or WAV recording, or a spoken text, into the prompt of a menu in DIR", CardUse::Writes,
     [](CLI::App& command, Arguments& arguments) {
         PromptArguments& prompt = arguments.prompt;
         command.add_option("DIR", prompt.folder, "Card folder")->required()->check(CLI::ExistingDirectory);
         command.add_option("TARGET", prompt.target, "Menu digit 0-9, or vinheta")->required();
         command.add_option("FILE", prompt.file, "The recording, MP3 or WAV");
         command.add_option("--text", prompt.text, "Speak this text instead of a recording; - reads standard input");
         command.add_option("--voice", prompt.voice, "espeak-ng voice for --text (default pt-br)");
         command.add_option("--tts-command", prompt.ttsCommand, "Shell command: text on its input, WAV on its output");
         command.add_option("--level", prompt.level, "peak (default for FILE), speech (default for --text) or none");
         command.add_flag("--trim", prompt.trim, "Cut silence before and after the speech to 0.3 s and 0.5 s");
     },
     promptFolderOf,
     [](CommandContext& c) {
         return promptCard(c.arguments.prompt, std::cin, c.out, c.err, ::isatty(STDERR_FILENO) == 1);
     }},
    {"prompts", "Print the state and level of every prompt in DIR as JSON", CardUse::None, cardFolder, nullptr,
     [](CommandContext& c) { return printPrompts(c.arguments.folder, c.out); }},
    {"level-all", "Bring every prompt in DIR to the same speech level, -19 dBm0", CardUse::Writes, cardFolder, folderOf,
     [](CommandContext& c) { return levelAllPrompts(c.arguments.folder, c.out); }},
    {"backup", "Copy the plain files of the card folder DIR into DEST", CardUse::Reads,
     [](CLI::App& command, Arguments& arguments) {
         cardFolder(command, arguments);
         command.add_option("DEST", arguments.destination, "Backup folder")->required()->check(CLI::ExistingDirectory);
     },
     folderOf,
     [](CommandContext& c) {
         return backupCard(*c.session, c.arguments.destination, c.arguments.lock, progressStream(c.err), c.err);
     }},
    {"restore", "Copy the plain files of the backup folder SRC into the card folder DEST", CardUse::Writes,
     [](CLI::App& command, Arguments& arguments) {
         command.add_option("SRC", arguments.folder, "Backup folder")->required()->check(CLI::ExistingDirectory);
         command.add_option("DEST", arguments.destination, "Card folder")->required()->check(CLI::ExistingDirectory);
     },
     destinationOf,
     [](CommandContext& c) { return restoreCard(*c.session, c.arguments.folder, progressStream(c.err), c.err); }},
    {"check", "Print the call-flow findings of the card in DIR as JSON", CardUse::None, cardFolder, nullptr,
     [](CommandContext& c) { return checkCard(c.arguments.folder, c.out, c.err); }},
    {"report", "Write the printable report of the card in DIR as a PDF", CardUse::None,
     [](CLI::App& command, Arguments& arguments) {
         cardFolder(command, arguments);
         command.add_option("OUT", arguments.reportFile, "The PDF to write")->required();
     },
     nullptr, [](CommandContext& c) { return runReportProgram(c.arguments.folder, c.arguments.reportFile, c.err); }},
    {"diff", "Print what differs between two cards, folders or JSON as show prints", CardUse::None,
     [](CLI::App& command, Arguments& arguments) {
         const CLI::Validator version(
             [](std::string& operand) { return versionOperand(operand) ? std::string() : "not a path or DIR@REV"; },
             "DIR@REV");
         command.add_option("A", arguments.folder, "Card folder, JSON file or DIR@REV")
             ->required()
             ->check(CLI::ExistingPath | version);
         command.add_option("B", arguments.other, "Card folder, JSON file or DIR@REV")
             ->required()
             ->check(CLI::ExistingPath | version);
     },
     nullptr, [](CommandContext& c) { return diffOperands(c.arguments.folder, c.arguments.other, c.out, c.err); },
     nullptr,
     [](const Arguments& arguments) {
         if (auto refusal = checkJsonInput(arguments.folder)) return refusal;
         return checkJsonInput(arguments.other);
     }},
    {"apply", "Enter every value of a JSON as show prints it and save DIR", CardUse::Writes,
     [](CLI::App& command, Arguments& arguments) {
         cardFolder(command, arguments);
         command.add_option("FILE", arguments.other, "The configuration, JSON")->required()->check(CLI::ExistingFile);
     },
     folderOf, [](CommandContext& c) { return applyCard(*c.session, c.arguments.other, c.err); }, nullptr,
     [](const Arguments& arguments) { return checkJsonInput(arguments.other); }},
    {"holidays", "Fill the holidays of DIR with the national ones of YEAR", CardUse::Writes,
     [](CLI::App& command, Arguments& arguments) {
         cardFolder(command, arguments);
         command.add_option("YEAR", arguments.year, "Year")->required()->transform(holidayYear());
     },
     folderOf, [](CommandContext& c) { return holidaysCard(*c.session, c.arguments.year, c.out, c.err); }},
    {"history", "Print the versions kept of the card in DIR, or restore one", CardUse::None,
     [](CLI::App& command, Arguments& arguments) {
         cardFolder(command, arguments);
         command.add_option("--restore", arguments.revision,
                            "Write version REV (an id of 7+ characters, or ~N) into the card");
     },
     folderOf,
     [](CommandContext& c) {
         if (c.arguments.revision.empty()) return printHistory(c.arguments.folder, c.out, c.err);
         return restoreVersion(*c.session, c.arguments.revision, progressStream(c.err), c.err);
     },
     [](const Arguments& arguments) { return arguments.revision.empty() ? CardUse::None : CardUse::Writes; }},
    {"cards", "Print the inserted memory cards as JSON", CardUse::None, [](CLI::App&, Arguments&) {}, nullptr,
     [](CommandContext& c) { return listCards(c.err); }},
    // The card is written through and unmounted by the disk service, which takes no card lock.
    {"eject", "Write the card holding DIR through, then unmount it so that it may be pulled out", CardUse::None,
     cardFolder, nullptr, [](CommandContext& c) { return ejectCard(c.arguments.folder, c.err); }},
};

}  // namespace

std::span<const Command> commands() { return kCommands; }

}  // namespace quorvel::card_tool
