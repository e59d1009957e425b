#include "Assignments.h"

#include <string_view>

#include "config/FieldEntry.h"

namespace quorvel::card_tool {

std::vector<Refusal> applyAssignments(DeviceConfiguration& config, const std::vector<std::string>& arguments) {
    std::vector<Refusal> refusals;
    for (const std::string& argument : arguments) {
        const std::size_t equals = argument.find('=');
        if (equals == std::string::npos) {
            refusals.push_back({argument, "expected PATH=VALUE"});
            continue;
        }
        const std::string_view path = std::string_view(argument).substr(0, equals);
        const ConfigurationField* field = findConfigurationField(path);
        if (!field) {
            refusals.push_back({argument, "no configuration value is named \"" + std::string(path) + "\""});
            continue;
        }
        for (std::string& message : enterValue(*field, config, std::string_view(argument).substr(equals + 1))) {
            refusals.push_back({argument, std::move(message)});
        }
    }
    return refusals;
}

}  // namespace quorvel::card_tool
