#include "ConfigurationDiff.h"

#include <algorithm>

#include "Catalogue.h"

namespace quorvel {

namespace {

class ValueList {
public:
    void add(std::string path, ConfigurationValue value) { values_.push_back({std::move(path), std::move(value)}); }
    std::vector<NamedValue> take() { return std::move(values_); }

private:
    std::vector<NamedValue> values_;
};

void addMenus(const DeviceConfiguration& config, ValueList& values) {
    for (int menu = 0; menu < kMenuCount; ++menu) {
        for (int digit = 0; digit < kOptionCount; ++digit) {
            const MenuOption& option = config.menus[menu][digit];
            const std::string prefix = "menus." + std::to_string(menu) + "." + std::to_string(digit) + ".";
            values.add(prefix + "target1", option.target1);
            values.add(prefix + "target2", option.target2);
            values.add(prefix + "flagF", option.flagF);
        }
    }
}

void addTimetable(const DeviceConfiguration& config, ValueList& values) {
    for (DayKind kind : kAllDayKinds) {
        for (int slot = 0; slot < kSlotCount; ++slot) {
            const TimeSlot& value = config.day(kind).slots[slot];
            const std::string prefix = "timetable." + std::string(dayKindName(kind)) + "." + std::to_string(slot) + ".";
            values.add(prefix + "time", value.time);
            values.add(prefix + "menu", value.menu);
        }
    }
}

void addSettings(const GeneralSettings& settings, ValueList& values) {
    for (const SettingsListInfo& list : settingsLists()) {
        values.add("settings." + std::string(list.field), settingsListIndex(settings, list.list));
    }
    values.add("settings.lowerExtension", settings.lowerExtension);
    values.add("settings.upperExtension", settings.upperExtension);
    values.add("settings.greeting", settings.greeting);
    values.add("settings.extensionEcho", settings.extensionEcho);
    values.add("settings.extensionSupervision", settings.extensionSupervision);
}

}  // namespace

std::vector<NamedValue> configurationValues(const DeviceConfiguration& config) {
    ValueList values;
    addMenus(config, values);
    addTimetable(config, values);
    for (int i = 0; i < kHolidayCount; ++i) values.add("holidays." + std::to_string(i), config.holidays[i]);
    for (int i = 0; i < kRestrictedExtensionCount; ++i) {
        values.add("restrictedExtensions." + std::to_string(i), config.restrictedExtensions[i]);
    }
    values.add("accessCodes.restoreCode", config.accessCodes.restoreCode);
    values.add("accessCodes.password", config.accessCodes.password);
    addSettings(config.settings, values);
    return values.take();
}

std::vector<ValueChange> diffConfigurations(const DeviceConfiguration& from, const DeviceConfiguration& to) {
    const std::vector<NamedValue> before = configurationValues(from);
    const std::vector<NamedValue> after = configurationValues(to);
    std::vector<ValueChange> changes;
    for (std::size_t i = 0; i < before.size(); ++i) {
        if (before[i].value != after[i].value) changes.push_back({before[i].path, before[i].value, after[i].value});
    }
    std::sort(changes.begin(), changes.end(),
              [](const ValueChange& a, const ValueChange& b) { return a.path < b.path; });
    return changes;
}

std::string describeValue(const ConfigurationValue& value) {
    if (const auto* text = std::get_if<std::string>(&value)) return "\"" + *text + "\"";
    if (const auto* ticked = std::get_if<bool>(&value)) return *ticked ? "marcado" : "desmarcado";
    const int index = std::get<int>(value);
    return index == kNoSelection ? "nenhum" : "item " + std::to_string(index);
}

}  // namespace quorvel
