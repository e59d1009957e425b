// The call-flow check: mistakes that would make the line answer wrongly,
// found before the card goes back into the device. It only informs; nothing
// is refused or changed.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "DeviceConfiguration.h"
#include "PromptFile.h"

namespace quorvel {

// In report order.
enum class FindingCode {
    EmptyMenuReference = 1,
    SlotSelectsEmptyMenu,
    SlotIncomplete,
    InvalidTarget,
    UnreachableMenu,
    MissingPrompt,
    DayWithoutSlots,
    DuplicateHoliday,
    NationalHolidayMissing,
    ExtensionRangeReversed,
};

// "empty-menu-reference", ...
std::string findingCodeName(FindingCode code);

// The field a finding concerns. `first` and `second` are the menu and the
// option digit, the day kind and the slot (from 0), or the holiday (from 0).
struct FindingPlace {
    enum class Kind { Target1, Target2, Menu, Prompt, SlotTime, SlotMenu, Day, Holiday, Holidays, LowerExtension };
    Kind kind;
    int first = 0;
    int second = 0;
};

// The place in the dotted form of the command-line tool's paths:
// "menus.3.1.target1", "menus.3", "menus.3.prompt", "timetable.Seg.2.menu",
// "timetable.Dom", "holidays.4", "holidays", "settings.lowerExtension".
std::string findingPath(const FindingPlace& place);

struct Finding {
    FindingCode code;
    FindingPlace place;
    std::string path;
    std::string message;  // for the window, in Portuguese (UTF-8)
};

// The menu a target "Mk" sends the caller to, k a digit.
std::optional<int> menuReference(const std::string& target);

// Menus a slot selects, and every menu a reached menu's options send callers to.
std::array<bool, kMenuCount> reachableMenus(const DeviceConfiguration& config);

// Tells what became of the prompt of a menu; asked only for reachable menus.
using PromptProbe = std::function<PromptState(int menu)>;

// Every finding, by code and then by path.
std::vector<Finding> checkCallFlow(const DeviceConfiguration& config, const PromptProbe& prompts);

// The check with the prompts of the card folder `folder`.
std::vector<Finding> checkCallFlow(const DeviceConfiguration& config, const std::string& folder);

}  // namespace quorvel
