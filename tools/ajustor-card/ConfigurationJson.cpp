#include "ConfigurationJson.h"

#include <algorithm>

#include "config/FieldTable.h"

namespace quorvel::card_tool {

namespace {

using Json = nlohmann::ordered_json;

bool isIndex(std::string_view segment) {
    return !segment.empty() && std::all_of(segment.begin(), segment.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The place `path` names inside `json`, made when missing: a segment of
// digits indexes an array, any other names a member.
Json& placeOf(Json& json, std::string_view path) {
    Json* at = &json;
    while (true) {
        const std::size_t dot = path.find('.');
        const std::string_view segment = path.substr(0, dot);
        at = isIndex(segment) ? &(*at)[std::stoul(std::string(segment))] : &(*at)[std::string(segment)];
        if (dot == std::string_view::npos) return *at;
        path.remove_prefix(dot + 1);
    }
}

}  // namespace

nlohmann::ordered_json configurationToJson(const DeviceConfiguration& config) {
    Json json = Json::object();
    for (const ConfigurationField& field : configurationFields()) {
        std::visit([&](const auto& value) { placeOf(json, field.path()) = value; }, field.get(config));
    }
    return json;
}

}  // namespace quorvel::card_tool
