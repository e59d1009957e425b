#include "ApplyCommand.h"

#include <nlohmann/json.hpp>

#include "CardCommands.h"
#include "ConfigurationInput.h"
#include "JsonFile.h"
#include "config/CardError.h"
#include "config/CardFolder.h"
#include "config/CardSequences.h"
#include "config/FieldEntry.h"
#include "config/NationalHolidays.h"

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
    const std::optional<nlohmann::ordered_json> json = readJsonFile(file, err);
    if (!json) return ExitCode::CardFailure;
    const CardFolder card(folder);
    DeviceConfiguration config;
    try {
        loadConfiguration(card, config);
    } catch (const CardError& error) {
        return reportCardError(error, err);
    }
    const std::vector<Refusal> refusals = readConfigurationJson(*json, JsonEntry::Typed, config);
    if (!refusals.empty()) {
        for (const Refusal& refusal : refusals) err << refusal.argument << ": " << refusal.message << '\n';
        return ExitCode::ValueRefused;
    }
    return saveCard(card, config, err);
}

ExitCode holidaysCard(const std::string& folder, int year, std::ostream& out, std::ostream& err) {
    const CardFolder card(folder);
    DeviceConfiguration config;
    try {
        loadConfiguration(card, config);
    } catch (const CardError& error) {
        return reportCardError(error, err);
    }
    const auto dates = nationalHolidays(year);
    for (int i = 0; i < kHolidayCount; ++i) {
        // The dates pass the date field's rules; entered as the window types them.
        const std::string path = holidayPath(i);
        for (const std::string& message : enterValue(*findConfigurationField(path), config, dates[i])) {
            err << path << ": " << message << '\n';
            return ExitCode::ValueRefused;
        }
    }
    if (const ExitCode saved = saveCard(card, config, err); saved != ExitCode::Success) return saved;
    out << nlohmann::ordered_json{{"holidays", dates}}.dump(2) << '\n';
    return ExitCode::Success;
}

}  // namespace quorvel::card_tool
