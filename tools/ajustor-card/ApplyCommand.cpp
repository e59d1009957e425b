#include "ApplyCommand.h"

#include <nlohmann/json.hpp>

#include "CardCommands.h"
#include "ConfigurationInput.h"
#include "FieldEntry.h"
#include "FieldPath.h"
#include "JsonFile.h"
#include "config/NationalHolidays.h"
#include "operations/session/CardSession.h"

namespace quorvel::card_tool {

ExitCode applyCard(CardSession& session, const std::string& file, std::ostream& err) {
    const std::optional<nlohmann::ordered_json> json = readJsonFile(file, err);
    if (!json) return ExitCode::CardFailure;
    DeviceConfiguration config;
    if (!loadCard(session, config, err)) return ExitCode::CardFailure;
    const std::vector<Refusal> refusals = readConfigurationJson(*json, JsonEntry::Typed, config);
    if (!refusals.empty()) {
        for (const Refusal& refusal : refusals) err << refusal.argument << ": " << refusal.message << '\n';
        return ExitCode::ValueRefused;
    }
    return reportWrite(session.save(config, "apply " + file), err);
}

ExitCode holidaysCard(CardSession& session, int year, std::ostream& out, std::ostream& err) {
    DeviceConfiguration config;
    if (!loadCard(session, config, err)) return ExitCode::CardFailure;
    const auto dates = nationalHolidays(year);
    for (int i = 0; i < kHolidayCount; ++i) {
        // The dates pass the date field's rules; entered as the window types them.
        const std::string path = "holidays." + std::to_string(i);
        for (const std::string& message : enterValue(*resolveFieldPath(config, path), dates[i])) {
            err << path << ": " << message << '\n';
            return ExitCode::ValueRefused;
        }
    }
    const ExitCode saved = reportWrite(session.save(config, "Feriados nacionais de " + std::to_string(year)), err);
    if (saved != ExitCode::Success) return saved;
    out << nlohmann::ordered_json{{"holidays", dates}}.dump(2) << '\n';
    return ExitCode::Success;
}

}  // namespace quorvel::card_tool
