#include "FieldPath.h"

#include <charconv>
#include <vector>

#include "config/Catalogue.h"

namespace quorvel::card_tool {

namespace {

using Segments = std::vector<std::string_view>;

Segments splitPath(std::string_view path) {
    Segments segments;
    std::size_t start = 0;
    while (true) {
        const std::size_t dot = path.find('.', start);
        segments.push_back(path.substr(start, dot - start));
        if (dot == std::string_view::npos) {
            return segments;
        }
        start = dot + 1;
    }
}

// A plain decimal index below `count`; signs, blanks and leading zeros are
// not part of the path syntax.
std::optional<std::size_t> arrayIndex(std::string_view segment, std::size_t count) {
    if (segment.empty() || (segment.size() > 1 && segment.front() == '0')) {
        return std::nullopt;
    }
    std::size_t index = 0;
    const auto [end, error] = std::from_chars(segment.data(), segment.data() + segment.size(), index);
    if (error != std::errc() || end != segment.data() + segment.size() || index >= count) {
        return std::nullopt;
    }
    return index;
}

FieldRef textField(FieldKind kind, std::string& text) { return {.kind = kind, .text = &text}; }
FieldRef checkBox(bool& ticked) { return {.kind = FieldKind::CheckBox, .ticked = &ticked}; }

std::optional<FieldRef> menuOptionField(DeviceConfiguration& config, const Segments& path) {
    if (path.size() != 4) {
        return std::nullopt;
    }
    const auto menu = arrayIndex(path[1], kMenuCount);
    const auto digit = arrayIndex(path[2], kOptionCount);
    if (!menu || !digit) {
        return std::nullopt;
    }
    MenuOption& option = config.menus[*menu][*digit];
    if (path[3] == "target1") return textField(FieldKind::OptionTarget, option.target1);
    if (path[3] == "target2") return textField(FieldKind::OptionTarget, option.target2);
    if (path[3] == "flagF") return checkBox(option.flagF);
    return std::nullopt;
}

std::optional<FieldRef> timetableField(DeviceConfiguration& config, const Segments& path) {
    DayKind kind{};
    if (path.size() != 4 || !dayKindFromName(path[1], kind)) {
        return std::nullopt;
    }
    const auto slotIndex = arrayIndex(path[2], kSlotCount);
    if (!slotIndex) {
        return std::nullopt;
    }
    TimeSlot& slot = config.day(kind).slots[*slotIndex];
    if (path[3] == "time") return textField(FieldKind::Time, slot.time);
    if (path[3] == "menu") return FieldRef{.kind = FieldKind::List, .index = &slot.menu, .itemCount = kMenuCount};
    return std::nullopt;
}

std::optional<FieldRef> settingsField(GeneralSettings& settings, std::string_view name) {
    for (const SettingsListInfo& list : settingsLists()) {
        if (list.field == name) {
            return FieldRef{
                .kind = FieldKind::List, .index = &settingsListIndex(settings, list.list), .itemCount = list.itemCount};
        }
    }
    if (name == "lowerExtension") return textField(FieldKind::Extension, settings.lowerExtension);
    if (name == "upperExtension") return textField(FieldKind::Extension, settings.upperExtension);
    if (name == "greeting") return checkBox(settings.greeting);
    if (name == "extensionEcho") return checkBox(settings.extensionEcho);
    if (name == "extensionSupervision") return checkBox(settings.extensionSupervision);
    return std::nullopt;
}

}  // namespace

std::optional<FieldRef> resolveFieldPath(DeviceConfiguration& config, std::string_view path) {
    const Segments segments = splitPath(path);
    const std::string_view root = segments.front();
    if (root == "menus") {
        return menuOptionField(config, segments);
    }
    if (root == "timetable") {
        return timetableField(config, segments);
    }
    if (segments.size() != 2) {
        return std::nullopt;
    }
    if (root == "holidays") {
        if (const auto index = arrayIndex(segments[1], kHolidayCount)) {
            return textField(FieldKind::Date, config.holidays[*index]);
        }
        return std::nullopt;
    }
    if (root == "restrictedExtensions") {
        if (const auto index = arrayIndex(segments[1], kRestrictedExtensionCount)) {
            return textField(FieldKind::Extension, config.restrictedExtensions[*index]);
        }
        return std::nullopt;
    }
    if (root == "accessCodes") {
        if (segments[1] == "restoreCode") return textField(FieldKind::RestoreCode, config.accessCodes.restoreCode);
        if (segments[1] == "password") return textField(FieldKind::Password, config.accessCodes.password);
        return std::nullopt;
    }
    if (root == "settings") {
        return settingsField(config.settings, segments[1]);
    }
    return std::nullopt;
}

}  // namespace quorvel::card_tool
