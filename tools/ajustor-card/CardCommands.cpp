#include "CardCommands.h"

#include "Assignments.h"
#include "ConfigurationJson.h"
#include "config/CardError.h"
#include "config/CardFolder.h"
#include "config/CardSequences.h"
#include "config/CardSnapshot.h"
#include "config/DeviceConfiguration.h"

namespace quorvel::card_tool {

ExitCode reportCardError(const CardError& error, std::ostream& err) {
    err << errorBoxText(error.what()) << '\n';
    return ExitCode::CardFailure;
}

bool loadCard(const CardFolder& card, DeviceConfiguration& config, std::ostream& err) {
    try {
        loadConfiguration(card, config);
    } catch (const CardError& error) {
        reportCardError(error, err);
        return false;
    }
    return true;
}

ExitCode initCard(const std::string& folder, std::ostream& err) {
    try {
        const CardFolder card(folder);
        card.removeLeftoverTemporaries();
        ensureCardFiles(card);
    } catch (const CardError& error) {
        return reportCardError(error, err);
    }
    return ExitCode::Success;
}

ExitCode showCard(const std::string& folder, std::ostream& out, std::ostream& err) {
    // Default-constructed is the window's state before its start-up load.
    DeviceConfiguration config;
    ExitCode result = ExitCode::Success;
    try {
        loadConfiguration(CardFolder(folder), config);
    } catch (const CardError& error) {
        result = reportCardError(error, err);
    }
    out << configurationToJson(config).dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << '\n';
    return result;
}

ExitCode setCard(const std::string& folder, const std::vector<std::string>& assignments, std::ostream& err) {
    const CardFolder card(folder);
    // Without a lock (a file system that has none) a writer that ran meanwhile
    // is at least noticed before its update is written over.
    const CardSnapshot before = CardSnapshot::take(card);
    DeviceConfiguration config;
    try {
        loadConfiguration(card, config);
    } catch (const CardError& error) {
        return reportCardError(error, err);
    }
    const std::vector<Refusal> refusals = applyAssignments(config, assignments);
    if (!refusals.empty()) {
        for (const Refusal& refusal : refusals) {
            err << refusal.argument << ": " << refusal.message << '\n';
        }
        return ExitCode::ValueRefused;
    }
    if (CardSnapshot::take(card).changedSince(before)) {
        err << folder << ": the card files changed while this command ran; nothing was written\n";
        return ExitCode::CardFailure;
    }
    try {
        card.removeLeftoverTemporaries();
        saveConfiguration(card, config);
    } catch (const CardError& error) {
        return reportCardError(error, err);
    }
    return ExitCode::Success;
}

}  // namespace quorvel::card_tool
