#include "HistoryCommand.h"

#include <nlohmann/json.hpp>

#include "CardCommands.h"
#include "config/CardResult.h"
#include "operations/history/CardHistory.h"
#include "operations/history/VersionFolder.h"
#include "operations/session/CardSession.h"

namespace quorvel::card_tool {

ExitCode printHistory(const std::string& folder, std::ostream& out, std::ostream& err) {
    CardHistory history(folder);
    std::vector<HistoryVersion> versions;
    if (std::string error = history.versions(versions); !error.empty()) {
        err << error << '\n';
        return ExitCode::CardFailure;
    }
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const HistoryVersion& version : versions) {
        list.push_back(
            {{"id", version.id}, {"time", version.time}, {"action", version.action}, {"paths", version.paths}});
    }
    const nlohmann::ordered_json json{
        {"card", history.cardId()}, {"repository", history.repository()}, {"versions", std::move(list)}};
    out << json.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << '\n';
    return ExitCode::Success;
}

ExitCode restoreVersion(CardSession& session, const std::string& rev, std::ostream* progress, std::ostream& err) {
    VersionFolder version;
    if (std::string error = version.materialise(session.folder(), rev); !error.empty()) {
        err << error << '\n';
        return ExitCode::CardFailure;
    }
    const auto copied = [progress](const std::string& name) {
        if (progress != nullptr) *progress << name << '\n';
    };
    // The card's state before it stays in the history, which the session records first.
    std::string safety;
    const CardResult result = session.restore(
        version.path(), "Restauração da versão " + shortVersionId(version.version()), safety, {{}, copied});
    return reportWrite(result, err);
}

}  // namespace quorvel::card_tool
