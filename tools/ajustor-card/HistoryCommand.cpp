#include "HistoryCommand.h"

#include <nlohmann/json.hpp>

#include "FolderCopyCommand.h"
#include "operations/history/CardHistory.h"
#include "operations/history/VersionFolder.h"

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

ExitCode restoreVersion(const std::string& folder, const std::string& rev, std::ostream* progress, std::ostream& err) {
    VersionFolder version;
    if (std::string error = version.materialise(folder, rev); !error.empty()) {
        err << error << '\n';
        return ExitCode::CardFailure;
    }
    CardHistory history(folder);
    // Whatever the card holds now stays in the history.
    if (std::string error = history.record("Estado antes da restauração"); !error.empty()) {
        err << "Nothing recorded in the card's history: " << error << '\n';
    }
    const ExitCode copied = copyFolder(version.path(), folder, ReadOnlyTarget::Refuse, progress, err);
    const std::string action = "Restauração da versão " + shortVersionId(version.version());
    if (std::string error = history.record(action); !error.empty()) {
        err << "Nothing recorded in the card's history: " << error << '\n';
    }
    return copied;
}

}  // namespace quorvel::card_tool
