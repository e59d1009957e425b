// ajustor-card: prepares an auto-attendant memory card from the command line.
#include <csignal>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include <CLI/CLI.hpp>

#include "CardWriteLock.h"
#include "CommandTable.h"
#include "ExitCode.h"
#include "OptionChecks.h"
#include "operations/history/HistoryRecorder.h"
#include "operations/session/CardSession.h"

using namespace quorvel::card_tool;

int main(int argc, char** argv) {
    // Past a file-size limit a write then fails with EFBIG, reported like a
    // full disk, instead of the signal killing the tool midway.
    std::signal(SIGXFSZ, SIG_IGN);
    // Every write is kept in the card's history.
    quorvel::CardSession::setRecorderFactory(quorvel::makeHistoryRecorder);
    CLI::App app{"Creates, prints and edits the configuration files of an auto-attendant memory card.", "ajustor-card"};
    app.set_version_flag("--version", "ajustor-card " QUORVEL_VERSION);
    app.require_subcommand(1);

    Arguments arguments;
    for (const Command& command : commands()) {
        CLI::App* sub = app.add_subcommand(command.name, command.help);
        command.declare(*sub, arguments);
        if (command.use != CardUse::None || command.useWith != nullptr) {
            sub->add_flag("--force", arguments.lock.force, "Write even though the window has the card open");
            sub->add_option("--wait", arguments.lock.waitSeconds, "Seconds to wait for another writer (default 30)")
                ->check(waitSeconds());
        }
    }
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        const int status = app.exit(error);
        return status == 0 ? 0 : toStatus(ExitCode::Usage);
    }

    const CLI::App* chosen = app.get_subcommands().front();
    for (const Command& command : commands()) {
        if (chosen->get_name() != command.name) continue;
        if (const auto refusal = command.refuseInput ? command.refuseInput(arguments) : std::nullopt) {
            std::cerr << *refusal << '\n';
            return toStatus(ExitCode::ValueRefused);
        }
        // Writers, and readers that copy the card whole, hold it until they exit.
        std::shared_ptr<quorvel::CardSession> session;
        std::optional<quorvel::CardSession::Hold> hold;
        const CardUse use = command.useWith != nullptr ? command.useWith(arguments) : command.use;
        if (use != CardUse::None) {
            const std::string program = std::string("ajustor-card ") + command.name;
            session = quorvel::CardSession::open(command.card(arguments), program);
            hold = holdCard(*session, program, arguments.lock, use == CardUse::Reads, std::cerr);
            if (!hold) return toStatus(ExitCode::CardFailure);
        }
        CommandContext context{arguments, session.get(), std::cout, std::cerr};
        const ExitCode result = command.run(context);
        if (session) {
            for (const std::string& notice : session->takeNotices()) std::cerr << notice << '\n';
        }
        return toStatus(result);
    }
    return toStatus(ExitCode::Usage);
}
