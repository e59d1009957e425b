#include "ApplyCommand.h"

#include <nlohmann/json.hpp>

#include "CardCommands.h"
#include "ConfigurationInput.h"
#include "JsonFile.h"
#include "config/CardError.h"
#include "config/CardFolder.h"
#include "config/CardSequences.h"

namespace quorvel::card_tool {

namespace {

ExitCode saveCard(const CardFolder& card, const DeviceConfiguration& config, std::ostream& err) {
    try {
        saveConfiguration(card, config);
    } catch (const CardError& error) {
        return reportCardError(error, err);
    }
    return ExitCode::Success;
}

}  // namespace

ExitCode applyCard(const std::string& folder, const std::string& file, std::ostream& err) {
    const auto json = readJsonFile(file, err);
    if (const ExitCode* failure = std::get_if<ExitCode>(&json)) return *failure;
    const CardFolder card(folder);
    DeviceConfiguration config;
    try {
        loadConfiguration(card, config);
    } catch (const CardError& error) {
        return reportCardError(error, err);
    }
    const JsonRefusals refusals =
        readConfigurationJson(std::get<nlohmann::ordered_json>(json), JsonEntry::Typed, config);
    if (!refusals.empty()) {
        printRefusals(refusals, "", err);
        return ExitCode::ValueRefused;
    }
    return saveCard(card, config, err);
}

}  // namespace quorvel::card_tool
