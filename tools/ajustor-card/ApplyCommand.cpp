#include "ApplyCommand.h"

#include <nlohmann/json.hpp>

#include "CardCommands.h"
#include "ConfigurationInput.h"
#include "JsonFile.h"
#include "operations/session/CardSession.h"

namespace quorvel::card_tool {

ExitCode applyCard(CardSession& session, const std::string& file, std::ostream& err) {
    const auto json = readJsonFile(file, err);
    if (const ExitCode* failure = std::get_if<ExitCode>(&json)) return *failure;
    DeviceConfiguration config;
    if (!loadCard(session, config, err)) return ExitCode::CardFailure;
    const JsonRefusals refusals =
        readConfigurationJson(std::get<nlohmann::ordered_json>(json), JsonEntry::Typed, config);
    if (!refusals.empty()) {
        printRefusals(refusals, "", err);
        return ExitCode::ValueRefused;
    }
    return reportWrite(session.save(config, "apply " + file), err);
}

}  // namespace quorvel::card_tool
