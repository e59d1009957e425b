#include "DiffCommand.h"

#include <algorithm>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <set>

#include "ConfigurationInput.h"
#include "JsonFile.h"
#include "config/CardError.h"
#include "config/CardFolder.h"
#include "config/CardSequences.h"
#include "operations/CardDiff.h"

namespace quorvel::card_tool {

namespace {

using Json = nlohmann::ordered_json;

bool isFolder(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_directory(path, error);
}

// The values one side names: every value of a card folder, only those a
// JSON file holds.
using NamedValues = std::optional<std::set<std::string>>;

bool names(const NamedValues& named, const std::string& path) { return !named || named->contains(path); }

// One side as a configuration; false after saying why on `err`.
bool readSide(const std::string& path, DeviceConfiguration& config, NamedValues& named, std::ostream& err) {
    if (isFolder(path)) {
        try {
            loadConfiguration(CardFolder(path), config);
        } catch (const CardError& error) {
            err << path << ": " << errorBoxText(error.what()) << '\n';
            return false;
        }
        return true;
    }
    const std::optional<nlohmann::ordered_json> json = readJsonFile(path, err);
    if (!json) return false;
    std::vector<std::string> paths;
    const std::vector<Refusal> refusals = readConfigurationJson(*json, JsonEntry::Stored, config, paths);
    named.emplace(paths.begin(), paths.end());
    for (const Refusal& refusal : refusals) err << path << ": " << refusal.argument << ": " << refusal.message << '\n';
    return refusals.empty();
}

Json valueJson(const ConfigurationValue& value) {
    return std::visit([](const auto& held) { return Json(held); }, value);
}

Json audioJson(const std::string& file, const std::optional<PromptAudio>& audio) {
    if (!audio) return nullptr;
    return {{"file", file}, {"seconds", audio->seconds ? Json(*audio->seconds) : Json(nullptr)}};
}

}  // namespace

ExitCode diffCards(const std::string& from, const std::string& to, std::ostream& out, std::ostream& err) {
    DeviceConfiguration before;
    DeviceConfiguration after;
    NamedValues fromNames;
    NamedValues toNames;
    if (!readSide(from, before, fromNames, err) || !readSide(to, after, toNames, err)) return ExitCode::CardFailure;

    std::vector<std::pair<std::string, Json>> rows;
    for (const ValueChange& change : diffConfigurations(before, after)) {
        // A value a JSON side leaves out is no difference.
        if (!names(fromNames, change.path) || !names(toNames, change.path)) continue;
        rows.emplace_back(change.path,
                          Json{{"path", change.path}, {"from", valueJson(change.from)}, {"to", valueJson(change.to)}});
    }
    if (isFolder(from) && isFolder(to)) {
        for (const PromptChange& change : diffPrompts(from, to)) {
            rows.emplace_back(change.path, Json{{"path", change.path},
                                                {"from", audioJson(change.file, change.from)},
                                                {"to", audioJson(change.file, change.to)}});
        }
    }
    std::stable_sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    Json list = Json::array();
    for (auto& row : rows) list.push_back(std::move(row.second));
    const bool equal = list.empty();
    out << Json{{"differences", std::move(list)}}.dump(2, ' ', false, Json::error_handler_t::replace) << '\n';
    return equal ? ExitCode::Success : ExitCode::FindingsReported;
}

}  // namespace quorvel::card_tool
