#include "CardCommands.h"

#include "Assignments.h"
#include "ConfigurationJson.h"
#include "config/CardError.h"
#include "config/CardFolder.h"
#include "config/CardSequences.h"
#include "config/DeviceConfiguration.h"
#include "operations/session/CardSession.h"

namespace quorvel::card_tool {

ExitCode reportReadError(const CardResult& result, std::ostream& err) {
    err << errorBoxText(result.message) << '\n';
    return ExitCode::CardFailure;
}

ExitCode reportWrite(const CardResult& result, std::ostream& err) {
    if (result.ok()) return ExitCode::Success;
    err << (result.file.empty() ? std::string() : result.file + ": ") << errorBoxText(result.message);
    switch (result.state) {
        case CardState::Unchanged:
            err << " The card holds its previous files.\n";
            break;
        case CardState::Written:
            err << " The new files are written but may not all be on the card yet.\n";
            break;
        case CardState::Mixed:
            err << " The card holds some new and some previous files: write it again or restore it.\n";
            break;
    }
    return ExitCode::CardFailure;
}

bool loadCard(CardSession& session, DeviceConfiguration& config, std::ostream& err) {
    const CardResult loaded = session.load(config);
    if (!loaded.ok()) reportReadError(loaded, err);
    return loaded.ok();
}

bool loadCard(const CardFolder& card, DeviceConfiguration& config, std::ostream& err) {
    const CardResult loaded = loadConfiguration(card, config);
    if (!loaded.ok()) reportReadError(loaded, err);
    return loaded.ok();
}

ExitCode initCard(CardSession& session, std::ostream& err) {
    return reportWrite(session.createMissingFiles("Criação dos arquivos do cartão"), err);
}

ExitCode showCard(const std::string& folder, std::ostream& out, std::ostream& err) {
    // Default-constructed is the window's state before its start-up load.
    DeviceConfiguration config;
    ExitCode result = ExitCode::Success;
    if (const CardResult loaded = loadConfiguration(CardFolder(folder), config); !loaded.ok()) {
        result = reportReadError(loaded, err);
    }
    out << configurationToJson(config).dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << '\n';
    return result;
}

ExitCode setCard(CardSession& session, const std::vector<std::string>& assignments, std::ostream& err) {
    DeviceConfiguration config;
    if (!loadCard(session, config, err)) return ExitCode::CardFailure;
    const std::vector<Refusal> refusals = applyAssignments(config, assignments);
    if (!refusals.empty()) {
        for (const Refusal& refusal : refusals) {
            err << refusal.argument << ": " << refusal.message << '\n';
        }
        return ExitCode::ValueRefused;
    }
    std::string action = "set";
    for (const std::string& assignment : assignments) action += ' ' + assignment;
    return reportWrite(session.save(config, action), err);
}

}  // namespace quorvel::card_tool
