// Names and list items of the configuration values, as the window and the
// command-line tool show them (UTF-8).
#pragma once

#include <array>
#include <span>
#include <string_view>

#include "DeviceConfiguration.h"

namespace quorvel {

constexpr std::array<DayKind, kDayKindCount> kAllDayKinds = {DayKind::Fer, DayKind::Dom, DayKind::Seg, DayKind::Ter,
                                                             DayKind::Qua, DayKind::Qui, DayKind::Sex, DayKind::Sab};

// The week as the window's timetable, the map and the report show it: Dom to Sáb, then Fer.
constexpr std::array<DayKind, kDayKindCount> kWeekOrder = {DayKind::Dom, DayKind::Seg, DayKind::Ter, DayKind::Qua,
                                                           DayKind::Qui, DayKind::Sex, DayKind::Sab, DayKind::Fer};

// "Fer", "Dom", ... "Sab": the spelling of the window's field names.
std::string_view dayKindName(DayKind kind);
// The row caption: as dayKindName, but "Sáb" for Sab.
std::string_view dayKindCaption(DayKind kind);
// DayKind whose name is `name`; false when there is none.
bool dayKindFromName(std::string_view name, DayKind& kind);

// The nine general-settings lists.
enum class SettingsList { Ring, Silencio, Flash, Digito, Pabx, Toque, Res1, Res2, Res3 };
constexpr int kSettingsListCount = 9;

struct SettingsListInfo {
    SettingsList list;
    std::string_view field;    // name in GeneralSettings: "ringsToAnswer"
    std::string_view control;  // window control: "cbRing"
    std::string_view caption;  // "Ring p/Atender"
    int storedOffset;          // stored digit = index + offset
    std::array<std::string_view, 9> items;
    int itemCount;
};

const std::array<SettingsListInfo, kSettingsListCount>& settingsLists();
int& settingsListIndex(GeneralSettings& settings, SettingsList list);
int settingsListIndex(const GeneralSettings& settings, SettingsList list);

// "Menu 0" ... "Menu 9", then "Vinheta": the prompts by their index.
const std::array<std::string_view, kMenuCount + 1>& promptCaptions();
// "Menu 0" ... "Menu 9", the items of every timetable menu list.
std::span<const std::string_view> menuListItems();

}  // namespace quorvel
