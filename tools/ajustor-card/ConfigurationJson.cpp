#include "ConfigurationJson.h"

#include "config/Catalogue.h"

namespace quorvel::card_tool {

namespace {

using Json = nlohmann::ordered_json;

Json menusToJson(const DeviceConfiguration& config) {
    Json menus = Json::array();
    for (const auto& menu : config.menus) {
        Json options = Json::array();
        for (const MenuOption& option : menu) {
            options.push_back({{"target1", option.target1}, {"target2", option.target2}, {"flagF", option.flagF}});
        }
        menus.push_back(std::move(options));
    }
    return menus;
}

Json timetableToJson(const DeviceConfiguration& config) {
    Json timetable = Json::object();
    for (DayKind kind : kAllDayKinds) {
        Json slots = Json::array();
        for (const TimeSlot& slot : config.day(kind).slots) {
            slots.push_back({{"time", slot.time}, {"menu", slot.menu}});
        }
        timetable[std::string(dayKindName(kind))] = std::move(slots);
    }
    return timetable;
}

Json settingsToJson(const GeneralSettings& settings) {
    Json json = Json::object();
    for (const SettingsListInfo& list : settingsLists()) {
        json[std::string(list.field)] = settingsListIndex(settings, list.list);
    }
    json["lowerExtension"] = settings.lowerExtension;
    json["upperExtension"] = settings.upperExtension;
    json["greeting"] = settings.greeting;
    json["extensionEcho"] = settings.extensionEcho;
    json["extensionSupervision"] = settings.extensionSupervision;
    return json;
}

}  // namespace

nlohmann::ordered_json configurationToJson(const DeviceConfiguration& config) {
    Json json = Json::object();
    json["menus"] = menusToJson(config);
    json["timetable"] = timetableToJson(config);
    json["holidays"] = config.holidays;
    json["restrictedExtensions"] = config.restrictedExtensions;
    json["accessCodes"] = {{"restoreCode", config.accessCodes.restoreCode}, {"password", config.accessCodes.password}};
    json["settings"] = settingsToJson(config.settings);
    return json;
}

}  // namespace quorvel::card_tool
