#include "FieldTable.h"

#include <type_traits>
#include <unordered_map>

#include "Catalogue.h"
#include "MaskedText.h"

namespace quorvel {

namespace {

using Slot = ConfigurationField::Slot;
using Items = std::span<const std::string_view>;

constexpr const char* kNothing = "—";

std::string optionCaption(int menu, int option) {
    return std::string(promptCaptions()[menu]) + ", " +
           (option == 0 ? std::string("Não Dig") : "Opção " + std::to_string(option));
}

void addMenus(std::vector<ConfigurationField>& fields) {
    for (int menu = 0; menu < kMenuCount; ++menu) {
        for (int option = 0; option < kOptionCount; ++option) {
            const std::string caption = optionCaption(menu, option);
            fields.emplace_back(
                optionPath(menu, option, "target1"), caption + ", Ramal/Grupo 1", EntryRule::OptionTarget, Items{},
                [](DeviceConfiguration& c, int m, int o) -> Slot { return &c.menus[m][o].target1; }, menu, option);
            fields.emplace_back(
                optionPath(menu, option, "target2"), caption + ", Ramal/Grupo 2", EntryRule::OptionTarget, Items{},
                [](DeviceConfiguration& c, int m, int o) -> Slot { return &c.menus[m][o].target2; }, menu, option);
            fields.emplace_back(
                optionPath(menu, option, "flagF"), caption + ", F", EntryRule::CheckBox, Items{},
                [](DeviceConfiguration& c, int m, int o) -> Slot { return &c.menus[m][o].flagF; }, menu, option);
        }
    }
}

void addTimetable(std::vector<ConfigurationField>& fields) {
    for (DayKind kind : kAllDayKinds) {
        const int day = static_cast<int>(kind);
        for (int slot = 0; slot < kSlotCount; ++slot) {
            const std::string caption = std::string(dayKindCaption(kind)) + ", ";
            const std::string number = std::to_string(slot + 1);
            fields.emplace_back(
                slotPath(kind, slot, "time"), caption + "Hora " + number, EntryRule::Time, Items{},
                [](DeviceConfiguration& c, int d, int s) -> Slot { return &c.timetable[d].slots[s].time; }, day, slot);
            fields.emplace_back(
                slotPath(kind, slot, "menu"), caption + "Menu " + number, EntryRule::List, menuListItems(),
                [](DeviceConfiguration& c, int d, int s) -> Slot { return &c.timetable[d].slots[s].menu; }, day, slot);
        }
    }
}

void addSingles(std::vector<ConfigurationField>& fields) {
    for (int i = 0; i < kHolidayCount; ++i) {
        fields.emplace_back(
            holidayPath(i), "Feriado " + std::to_string(i + 1), EntryRule::Date, Items{},
            [](DeviceConfiguration& c, int n, int) -> Slot { return &c.holidays[n]; }, i);
    }
    for (int i = 0; i < kRestrictedExtensionCount; ++i) {
        fields.emplace_back(
            "restrictedExtensions." + std::to_string(i), "Ramal Restrito " + std::to_string(i + 1),
            EntryRule::Extension, Items{},
            [](DeviceConfiguration& c, int n, int) -> Slot { return &c.restrictedExtensions[n]; }, i);
    }
    fields.emplace_back(
        "accessCodes.restoreCode", "Restauração", EntryRule::RestoreCode, Items{},
        [](DeviceConfiguration& c, int, int) -> Slot { return &c.accessCodes.restoreCode; }, 0);
    fields.emplace_back(
        "accessCodes.password", "Senha", EntryRule::Password, Items{},
        [](DeviceConfiguration& c, int, int) -> Slot { return &c.accessCodes.password; }, 0);
}

void addSettings(std::vector<ConfigurationField>& fields) {
    int reserved = 0;
    for (const SettingsListInfo& list : settingsLists()) {
        // The window heads all three "Reservado"; apart from it they need their number.
        std::string caption(list.caption);
        if (list.list >= SettingsList::Res1) caption += " " + std::to_string(++reserved);
        fields.emplace_back(
            "settings." + std::string(list.field), std::move(caption), EntryRule::List,
            Items(list.items.data(), static_cast<std::size_t>(list.itemCount)),
            [](DeviceConfiguration& c, int n, int) -> Slot {
                return &settingsListIndex(c.settings, static_cast<SettingsList>(n));
            },
            static_cast<int>(list.list));
    }
    fields.emplace_back(
        kLowerExtensionPath, "Ramal Inferior", EntryRule::Extension, Items{},
        [](DeviceConfiguration& c, int, int) -> Slot { return &c.settings.lowerExtension; }, 0);
    fields.emplace_back(
        "settings.upperExtension", "Ramal Superior", EntryRule::Extension, Items{},
        [](DeviceConfiguration& c, int, int) -> Slot { return &c.settings.upperExtension; }, 0);
    fields.emplace_back(
        "settings.greeting", "Saudação", EntryRule::CheckBox, Items{},
        [](DeviceConfiguration& c, int, int) -> Slot { return &c.settings.greeting; }, 0);
    fields.emplace_back(
        "settings.extensionEcho", "Eco de Ramal", EntryRule::CheckBox, Items{},
        [](DeviceConfiguration& c, int, int) -> Slot { return &c.settings.extensionEcho; }, 0);
    fields.emplace_back(
        "settings.extensionSupervision", "Supervisão de ramal", EntryRule::CheckBox, Items{},
        [](DeviceConfiguration& c, int, int) -> Slot { return &c.settings.extensionSupervision; }, 0);
}

std::vector<ConfigurationField> buildFields() {
    std::vector<ConfigurationField> fields;
    addMenus(fields);
    addTimetable(fields);
    addSingles(fields);
    addSettings(fields);
    return fields;
}

std::string trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

ConfigurationField::ConfigurationField(std::string path, std::string caption, EntryRule rule, Items items,
                                       Locate locate, int first, int second)
    : path_(std::move(path)),
      caption_(std::move(caption)),
      rule_(rule),
      items_(items),
      locate_(locate),
      first_(first),
      second_(second) {}

ConfigurationValue ConfigurationField::get(const DeviceConfiguration& config) const {
    // Locating only takes an address; nothing is written through it here.
    const Slot where = slot(const_cast<DeviceConfiguration&>(config));
    return std::visit([](auto* value) { return ConfigurationValue(*value); }, where);
}

void ConfigurationField::set(DeviceConfiguration& config, const ConfigurationValue& value) const {
    std::visit(
        [&value](auto* target) {
            using Held = std::remove_pointer_t<decltype(target)>;
            *target = std::get<Held>(value);
        },
        slot(config));
}

std::string ConfigurationField::shownText(const ConfigurationValue& value) const {
    if (const auto* ticked = std::get_if<bool>(&value)) return *ticked ? "Sim" : "Não";
    if (const auto* index = std::get_if<int>(&value)) {
        const bool listed = *index >= 0 && static_cast<std::size_t>(*index) < items_.size();
        return listed ? std::string(items_[static_cast<std::size_t>(*index)]) : std::string();
    }
    const std::string& text = std::get<std::string>(value);
    return rule_ == EntryRule::Password ? std::string(text.size(), '*') : text;
}

std::string ConfigurationField::describe(const ConfigurationValue& value) const {
    const std::string text = shownText(value);
    if ((rule_ == EntryRule::Time || rule_ == EntryRule::Date) && isMaskEmpty(text)) return kNothing;
    std::string kept = trimmed(text);
    return kept.empty() ? kNothing : kept;
}

const std::vector<ConfigurationField>& configurationFields() {
    static const std::vector<ConfigurationField> fields = buildFields();
    return fields;
}

const ConfigurationField* findConfigurationField(std::string_view path) {
    static const std::unordered_map<std::string_view, const ConfigurationField*> byPath = [] {
        std::unordered_map<std::string_view, const ConfigurationField*> map;
        for (const ConfigurationField& field : configurationFields()) map.emplace(field.path(), &field);
        return map;
    }();
    const auto found = byPath.find(path);
    return found == byPath.end() ? nullptr : found->second;
}

std::string menuPath(int menu) { return "menus." + std::to_string(menu); }

std::string dayPath(DayKind kind) { return "timetable." + std::string(dayKindName(kind)); }

std::string optionPath(int menu, int option, std::string_view member) {
    return menuPath(menu) + "." + std::to_string(option) + "." + std::string(member);
}

std::string slotPath(DayKind kind, int slot, std::string_view member) {
    return dayPath(kind) + "." + std::to_string(slot) + "." + std::string(member);
}

std::string holidayPath(int holiday) { return std::string(kHolidaysPath) + "." + std::to_string(holiday); }

}  // namespace quorvel
