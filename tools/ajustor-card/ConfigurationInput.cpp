#include "ConfigurationInput.h"

#include <climits>

#include "FieldEntry.h"
#include "FieldPath.h"

namespace quorvel::card_tool {

namespace {

using Json = nlohmann::ordered_json;

// The value as `set` takes it on its command line; nothing when the JSON
// type does not fit the field.
std::optional<std::string> entryText(const FieldRef& field, const Json& value) {
    switch (field.kind) {
        case FieldKind::List:
            if (!value.is_number_integer()) return std::nullopt;
            if (value.is_number_unsigned()) return std::to_string(value.get<unsigned long long>());
            return std::to_string(value.get<long long>());
        case FieldKind::CheckBox:
            if (!value.is_boolean()) return std::nullopt;
            return value.get<bool>() ? "true" : "false";
        default:
            if (!value.is_string()) return std::nullopt;
            return value.get<std::string>();
    }
}

std::string expectedType(FieldKind kind) {
    if (kind == FieldKind::List) return "is not a whole number (an item index)";
    if (kind == FieldKind::CheckBox) return "is neither true nor false";
    return "is not a text";
}

std::vector<std::string> storeValue(const FieldRef& field, const Json& value) {
    if (field.kind == FieldKind::List) {
        // get<long long>() would wrap an index past the largest signed one around.
        const bool huge = value.is_number_unsigned() && value.get<unsigned long long>() > LLONG_MAX;
        const long long index = huge ? LLONG_MAX : value.get<long long>();
        if (index < kNoSelection || index >= field.itemCount) {
            return {"is not an item index from -1 to " + std::to_string(field.itemCount - 1)};
        }
        *field.index = static_cast<int>(index);
    } else if (field.kind == FieldKind::CheckBox) {
        *field.ticked = value.get<bool>();
    } else {
        *field.text = value.get<std::string>();
    }
    return {};
}

class Reader {
public:
    Reader(JsonEntry entry, DeviceConfiguration& config) : entry_(entry), config_(config) {}

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
        const std::optional<FieldRef> field = resolveFieldPath(config_, path);
        if (!field) {
            refuse(path, "no configuration value is named \"" + path + "\"");
            return;
        }
        const std::optional<std::string> text = entryText(*field, value);
        if (!text) {
            refuse(path, expectedType(field->kind));
            return;
        }
        const std::vector<std::string> messages =
            entry_ == JsonEntry::Typed ? enterValue(*field, *text) : storeValue(*field, value);
        for (const std::string& message : messages) refuse(path, message);
    }

    void refuse(const std::string& path, const std::string& message) {
        if (refusals_.shown.size() < kShownRefusals) refusals_.shown.push_back({path, message});
        ++refusals_.count;
    }

    JsonEntry entry_;
    DeviceConfiguration& config_;
    JsonRefusals refusals_;
};

}  // namespace

JsonRefusals readConfigurationJson(const Json& json, JsonEntry entry, DeviceConfiguration& config) {
    Reader reader(entry, config);
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
