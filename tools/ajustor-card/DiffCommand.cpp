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
#include "operations/history/VersionFolder.h"

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

// One side as a configuration; otherwise the status to end with, after saying why on `err`.
ExitCode readSide(const std::string& path, DeviceConfiguration& config, NamedValues& named, std::ostream& err) {
    if (isFolder(path)) {
        if (const CardResult loaded = loadConfiguration(CardFolder(path), config); !loaded.ok()) {
            err << path << ": " << errorBoxText(loaded.message) << '\n';
            return ExitCode::CardFailure;
        }
        return ExitCode::Success;
    }
    const auto json = readJsonFile(path, err);
    if (const ExitCode* failure = std::get_if<ExitCode>(&json)) return *failure;
    std::vector<std::string> paths;
    const JsonRefusals refusals = readConfigurationJson(std::get<Json>(json), JsonEntry::Stored, config, paths);
    named.emplace(paths.begin(), paths.end());
    printRefusals(refusals, path + ": ", err);
    return refusals.empty() ? ExitCode::Success : ExitCode::CardFailure;
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
    if (const ExitCode read = readSide(from, before, fromNames, err); read != ExitCode::Success) return read;
    if (const ExitCode read = readSide(to, after, toNames, err); read != ExitCode::Success) return read;

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

std::optional<std::pair<std::string, std::string>> versionOperand(const std::string& operand) {
    std::error_code error;
    const std::size_t at = operand.rfind('@');
    if (at == std::string::npos || std::filesystem::exists(operand, error)) return std::nullopt;
    std::string folder = operand.substr(0, at);
    if (!isFolder(folder)) return std::nullopt;
    return std::make_pair(std::move(folder), operand.substr(at + 1));
}

ExitCode diffOperands(const std::string& from, const std::string& to, std::ostream& out, std::ostream& err) {
    VersionFolder versions[2];
    std::string sides[2] = {from, to};
    for (int side = 0; side < 2; ++side) {
        const auto version = versionOperand(sides[side]);
        if (!version) continue;
        if (std::string error = versions[side].materialise(version->first, version->second); !error.empty()) {
            err << error << '\n';
            return ExitCode::CardFailure;
        }
        sides[side] = versions[side].path();
    }
    return diffCards(sides[0], sides[1], out, err);
}

}  // namespace quorvel::card_tool
