#include "ConfigurationInput.h"

#include <cstdint>
#include <limits>

#include "config/FieldEntry.h"

namespace quorvel::card_tool {

namespace {

using Json = nlohmann::ordered_json;

// A list index as JSON holds it; nothing for other numbers and types.
// Numbers beyond the widest integer stay beyond every list.
std::optional<long long> jsonIndex(const Json& value) {
    if (value.is_number_unsigned()) {
        const auto index = value.get<std::uint64_t>();
        return index > std::numeric_limits<long long>::max() ? std::numeric_limits<long long>::max()
                                                             : static_cast<long long>(index);
    }
    if (value.is_number_integer()) return value.get<long long>();
    return std::nullopt;
}

std::vector<std::string> takeValue(const ConfigurationField& field, const Json& value, JsonEntry entry,
                                   DeviceConfiguration& config) {
    switch (field.rule()) {
        case EntryRule::List:
            if (const std::optional<long long> index = jsonIndex(value)) return selectItem(field, config, *index);
            if (value.is_string()) return enterValue(field, config, value.get<std::string>());
            return {"is not a whole number (an item index) nor an item's text"};
        case EntryRule::CheckBox:
            if (!value.is_boolean()) return {"is neither true nor false"};
            field.set(config, value.get<bool>());
            return {};
        default:
            break;
    }
    if (!value.is_string()) return {"is not a text"};
    if (entry == JsonEntry::Typed) return enterValue(field, config, value.get<std::string>());
    field.set(config, value.get<std::string>());
    return {};
}

class Reader {
public:
    Reader(JsonEntry entry, DeviceConfiguration& config, std::vector<std::string>& named)
        : entry_(entry), config_(config), named_(named) {}

    void walk(const Json& json, const std::string& path) {
        if (json.is_object()) {
            for (const auto& [key, value] : json.items()) walk(value, path.empty() ? key : path + "." + key);
        } else if (json.is_array() && !path.empty()) {
            for (std::size_t i = 0; i < json.size(); ++i) walk(json[i], path + "." + std::to_string(i));
        } else if (path.empty()) {
            refuse("", "is not a configuration object");
        } else {
            take(path, json);
        }
    }

    JsonRefusals take() { return std::move(refusals_); }

private:
    void take(const std::string& path, const Json& value) {
        const ConfigurationField* field = findConfigurationField(path);
        if (!field) {
            refuse(path, "no configuration value is named \"" + path + "\"");
            return;
        }
        named_.push_back(path);
        for (std::string& message : takeValue(*field, value, entry_, config_)) refuse(path, std::move(message));
    }

    void refuse(const std::string& path, std::string message) {
        if (refusals_.shown.size() < kShownRefusals) refusals_.shown.push_back({path, std::move(message)});
        ++refusals_.count;
    }

    JsonEntry entry_;
    DeviceConfiguration& config_;
    std::vector<std::string>& named_;
    JsonRefusals refusals_;
};

}  // namespace

JsonRefusals readConfigurationJson(const Json& json, JsonEntry entry, DeviceConfiguration& config) {
    std::vector<std::string> named;
    return readConfigurationJson(json, entry, config, named);
}

JsonRefusals readConfigurationJson(const Json& json, JsonEntry entry, DeviceConfiguration& config,
                                   std::vector<std::string>& named) {
    Reader reader(entry, config, named);
    reader.walk(json, "");
    return reader.take();
}

void printRefusals(const JsonRefusals& refusals, const std::string& prefix, std::ostream& err) {
    for (const Refusal& refusal : refusals.shown) err << prefix << refusal.argument << ": " << refusal.message << '\n';
    if (refusals.count > refusals.shown.size()) {
        err << prefix << "and " << refusals.count - refusals.shown.size() << " more values refused\n";
    }
}

}  // namespace quorvel::card_tool
