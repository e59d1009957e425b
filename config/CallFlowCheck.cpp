#include "CallFlowCheck.h"
#include "AsciiDigit.h"

#include <algorithm>
#include <array>
#include <optional>
#include <tuple>
#include <utility>

#include "Catalogue.h"
#include "FieldRules.h"
#include "FieldTable.h"
#include "MaskedText.h"
#include "NationalHolidays.h"

namespace quorvel {
namespace {

using Kind = FindingPlace::Kind;
using MenuFlags = std::array<bool, kMenuCount>;

bool allDigits(const std::string& text) { return std::all_of(text.begin(), text.end(), isAsciiDigit); }

bool hasTime(const TimeSlot& slot) { return !isMaskEmpty(slot.time); }
bool hasMenu(const TimeSlot& slot) { return slot.menu >= 0 && slot.menu < kMenuCount; }

std::string menuLabel(int menu) { return "Menu " + std::to_string(menu); }

std::string optionLabel(int menu, int option) {
    return menuLabel(menu) + ", " + (option == 0 ? std::string("Não Dig") : "Opção " + std::to_string(option));
}

std::string slotLabel(DayKind kind, int slot) {
    return std::string(dayKindCaption(kind)) + ", horário " + std::to_string(slot + 1);
}

std::string holidayLabel(int holiday) { return "Feriado " + std::to_string(holiday + 1); }

// Calls `visit(menu, option, place kind, target)` for both targets of every option.
template <typename Visit>
void forEachTarget(const DeviceConfiguration& config, Visit visit) {
    for (int menu = 0; menu < kMenuCount; ++menu) {
        for (int option = 0; option < kOptionCount; ++option) {
            const MenuOption& row = config.menus[menu][option];
            visit(menu, option, Kind::Target1, row.target1);
            visit(menu, option, Kind::Target2, row.target2);
        }
    }
}

// Calls `visit(kind, slot index, slot)` for every slot of every day kind.
template <typename Visit>
void forEachSlot(const DeviceConfiguration& config, Visit visit) {
    for (DayKind kind : kAllDayKinds) {
        for (int slot = 0; slot < kSlotCount; ++slot) visit(kind, slot, config.day(kind).slots[slot]);
    }
}

MenuFlags definedMenus(const DeviceConfiguration& config) {
    MenuFlags defined{};
    forEachTarget(config, [&](int menu, int, Kind, const std::string& target) {
        if (!target.empty()) defined[menu] = true;
    });
    return defined;
}

// What the window would refuse in a masked field: an unfilled required
// position or a value its exit check rejects.
std::optional<std::string> maskedRefusal(const std::string& text, const char* invalidMessage,
                                         std::optional<std::string> (*exitCheck)(std::string_view)) {
    if (!isMaskComplete(text)) return std::string(invalidMessage);
    return exitCheck(text);
}

// Day and month of a filled holiday, whatever blanks pad them.
std::optional<std::pair<int, int>> holidayDayMonth(const std::string& text) {
    const std::size_t slash = text.find('/');
    if (slash == std::string::npos) return std::nullopt;
    std::string day, month;
    for (char c : text.substr(0, slash)) {
        if (c != ' ') day += c;
    }
    for (char c : text.substr(slash + 1)) {
        if (c != ' ') month += c;
    }
    if (day.empty() || month.empty() || day.size() > 2 || month.size() > 2 || !allDigits(day) || !allDigits(month)) {
        return std::nullopt;
    }
    return std::pair{std::stoi(day), std::stoi(month)};
}

// Compares digit texts by their value: "0300" is greater than "25".
bool greaterNumber(std::string_view a, std::string_view b) {
    a.remove_prefix(std::min(a.find_first_not_of('0'), a.size()));
    b.remove_prefix(std::min(b.find_first_not_of('0'), b.size()));
    return a.size() != b.size() ? a.size() > b.size() : a > b;
}

std::string twoDigits(int value) {
    std::string digits = std::to_string(value);
    if (digits.size() < 2) digits.insert(digits.begin(), '0');
    return digits;
}

class CallFlowCheck {
public:
    CallFlowCheck(const DeviceConfiguration& config, const PromptProbe& prompts)
        : config_(config), prompts_(prompts), defined_(definedMenus(config)), reached_(reachableMenus(config)) {}

    std::vector<Finding> run() {
        menuReferences();
        slots();
        invalidValues();
        menus();
        daysWithoutSlots();
        duplicateHolidays();
        nationalHolidays();
        extensionRange();
        std::stable_sort(findings_.begin(), findings_.end(), [](const Finding& a, const Finding& b) {
            return std::tie(a.code, a.path) < std::tie(b.code, b.path);
        });
        return std::move(findings_);
    }

private:
    void add(FindingCode code, FindingPlace place, std::string message) {
        findings_.push_back({code, place, findingPath(place), std::move(message)});
    }

    void menuReferences() {
        forEachTarget(config_, [&](int menu, int option, Kind kind, const std::string& target) {
            const auto referenced = menuReference(target);
            if (!referenced || defined_[*referenced]) return;
            add(FindingCode::EmptyMenuReference, {kind, menu, option},
                optionLabel(menu, option) + ": " + target + " leva ao " + menuLabel(*referenced) +
                    ", que não tem nenhuma opção.");
        });
    }

    void slots() {
        forEachSlot(config_, [&](DayKind kind, int slot, const TimeSlot& value) {
            const int day = static_cast<int>(kind);
            if (hasTime(value) && hasMenu(value) && !defined_[value.menu]) {
                add(FindingCode::SlotSelectsEmptyMenu, {Kind::SlotMenu, day, slot},
                    slotLabel(kind, slot) + ": o " + menuLabel(value.menu) + " não tem nenhuma opção.");
            } else if (hasTime(value) && !hasMenu(value)) {
                add(FindingCode::SlotIncomplete, {Kind::SlotMenu, day, slot},
                    slotLabel(kind, slot) + ": hora sem menu.");
            } else if (!hasTime(value) && hasMenu(value)) {
                add(FindingCode::SlotIncomplete, {Kind::SlotTime, day, slot},
                    slotLabel(kind, slot) + ": menu sem hora.");
            }
        });
    }

    void invalidValues() {
        forEachTarget(config_, [&](int menu, int option, Kind kind, const std::string& target) {
            if (target.empty()) return;
            std::optional<std::string> refusal;
            if (filterText(KeyFilter::Option, target) != target) {
                refusal = target + " tem caracteres que o campo não aceita.";
            } else {
                refusal = checkMenuReference(target);
            }
            if (refusal)
                add(FindingCode::InvalidTarget, {kind, menu, option}, optionLabel(menu, option) + ": " + *refusal);
        });
        forEachSlot(config_, [&](DayKind kind, int slot, const TimeSlot& value) {
            if (!hasTime(value)) return;
            if (auto refusal = maskedRefusal(value.time, kInvalidTimeMessage, checkTime)) {
                add(FindingCode::InvalidTarget, {Kind::SlotTime, static_cast<int>(kind), slot},
                    slotLabel(kind, slot) + ": " + *refusal);
            }
        });
        for (int holiday = 0; holiday < kHolidayCount; ++holiday) {
            const std::string& date = config_.holidays[holiday];
            if (isMaskEmpty(date)) continue;
            if (auto refusal = maskedRefusal(date, kInvalidDateMessage, checkDate)) {
                add(FindingCode::InvalidTarget, {Kind::Holiday, holiday}, holidayLabel(holiday) + ": " + *refusal);
            }
        }
    }

    void menus() {
        for (int menu = 0; menu < kMenuCount; ++menu) {
            if (defined_[menu] && !reached_[menu]) {
                add(FindingCode::UnreachableMenu, {Kind::Menu, menu},
                    menuLabel(menu) + " tem opções, mas nenhum horário nem outro menu leva a ele.");
            }
            if (!reached_[menu]) continue;
            const PromptState state = prompts_(menu);
            if (state == PromptState::Playable) continue;
            const std::string prefix = menuLabel(menu) + ": o arquivo de voz " + *promptFileName(menu);
            add(FindingCode::MissingPrompt, {Kind::Prompt, menu},
                prefix + (state == PromptState::Missing ? " não está na pasta do cartão."
                                                        : " não é um WAV PCM de 16 bits mono."));
        }
    }

    void daysWithoutSlots() {
        std::array<bool, kDayKindCount> complete{};
        forEachSlot(config_, [&](DayKind kind, int, const TimeSlot& slot) {
            if (hasTime(slot) && hasMenu(slot)) complete[static_cast<int>(kind)] = true;
        });
        const bool anyHoliday = std::any_of(config_.holidays.begin(), config_.holidays.end(),
                                            [](const HolidayDate& date) { return !isMaskEmpty(date); });
        for (DayKind kind : kAllDayKinds) {
            const int day = static_cast<int>(kind);
            if (complete[day] || (kind == DayKind::Fer && !anyHoliday)) continue;
            const bool othersHaveSlots = std::any_of(complete.begin(), complete.end(), [](bool some) { return some; });
            if (!othersHaveSlots) continue;
            add(FindingCode::DayWithoutSlots, {Kind::Day, day},
                std::string(dayKindCaption(kind)) + ": nenhum horário completo; neste dia a linha fica sem menu.");
        }
    }

    void duplicateHolidays() {
        std::array<std::optional<std::pair<int, int>>, kHolidayCount> dates;
        for (int holiday = 0; holiday < kHolidayCount; ++holiday) {
            dates[holiday] = holidayDayMonth(config_.holidays[holiday]);
            if (!dates[holiday]) continue;
            for (int earlier = 0; earlier < holiday; ++earlier) {
                if (dates[earlier] != dates[holiday]) continue;
                add(FindingCode::DuplicateHoliday, {Kind::Holiday, holiday},
                    holidayLabel(holiday) + " repete a data " + twoDigits(dates[holiday]->first) + "/" +
                        twoDigits(dates[holiday]->second) + " do " + holidayLabel(earlier) + ".");
                break;
            }
        }
    }

    // Calls on a national holiday take the day kind Fer only when the date
    // is in the list; otherwise they get the weekday's menus.
    void nationalHolidays() {
        const auto& ferSlots = config_.day(DayKind::Fer).slots;
        const bool ferHasSlots = std::any_of(ferSlots.begin(), ferSlots.end(),
                                             [](const TimeSlot& slot) { return hasTime(slot) && hasMenu(slot); });
        if (!ferHasSlots) return;
        for (const DayOfYear& date : kFixedNationalHolidays) {
            const bool listed =
                std::any_of(config_.holidays.begin(), config_.holidays.end(), [&](const HolidayDate& text) {
                    return holidayDayMonth(text) == std::pair{date.day, date.month};
                });
            if (listed) continue;
            add(FindingCode::NationalHolidayMissing, {Kind::Holidays},
                "O feriado nacional " + twoDigits(date.day) + "/" + twoDigits(date.month) +
                    " não está no cadastro de feriados; nesse dia a linha segue o horário do dia da semana.");
        }
    }

    void extensionRange() {
        const std::string& lower = config_.settings.lowerExtension;
        const std::string& upper = config_.settings.upperExtension;
        if (lower.empty() || upper.empty() || !allDigits(lower) || !allDigits(upper)) return;
        if (!greaterNumber(lower, upper)) return;
        add(FindingCode::ExtensionRangeReversed, {Kind::LowerExtension},
            "Ramal Inferior " + lower + " é maior que o Ramal Superior " + upper + ".");
    }

    const DeviceConfiguration& config_;
    const PromptProbe& prompts_;
    const MenuFlags defined_;
    const MenuFlags reached_;
    std::vector<Finding> findings_;
};

}  // namespace

std::string findingCodeName(FindingCode code) {
    switch (code) {
        case FindingCode::EmptyMenuReference:
            return "empty-menu-reference";
        case FindingCode::SlotSelectsEmptyMenu:
            return "slot-selects-empty-menu";
        case FindingCode::SlotIncomplete:
            return "slot-incomplete";
        case FindingCode::InvalidTarget:
            return "invalid-target";
        case FindingCode::UnreachableMenu:
            return "unreachable-menu";
        case FindingCode::MissingPrompt:
            return "missing-prompt";
        case FindingCode::DayWithoutSlots:
            return "day-without-slots";
        case FindingCode::DuplicateHoliday:
            return "duplicate-holiday";
        case FindingCode::NationalHolidayMissing:
            return "national-holiday-missing";
        case FindingCode::ExtensionRangeReversed:
            break;
    }
    return "extension-range-reversed";
}

std::string findingPath(const FindingPlace& place) {
    const auto day = [&] { return static_cast<DayKind>(place.first); };
    switch (place.kind) {
        case Kind::Target1:
            return optionPath(place.first, place.second, "target1");
        case Kind::Target2:
            return optionPath(place.first, place.second, "target2");
        case Kind::Menu:
            return menuPath(place.first);
        case Kind::Prompt:
            return menuPath(place.first) + ".prompt";
        case Kind::SlotTime:
            return slotPath(day(), place.second, "time");
        case Kind::SlotMenu:
            return slotPath(day(), place.second, "menu");
        case Kind::Day:
            return dayPath(day());
        case Kind::Holiday:
            return holidayPath(place.first);
        case Kind::Holidays:
            return kHolidaysPath;
        case Kind::LowerExtension:
            break;
    }
    return kLowerExtensionPath;
}

std::optional<int> menuReference(const std::string& target) {
    if (target.size() == 2 && target[0] == 'M' && isAsciiDigit(target[1])) return target[1] - '0';
    return std::nullopt;
}

std::array<bool, kMenuCount> reachableMenus(const DeviceConfiguration& config) {
    MenuFlags reached{};
    std::vector<int> pending;
    const auto reach = [&](int menu) {
        if (!reached[menu]) {
            reached[menu] = true;
            pending.push_back(menu);
        }
    };
    forEachSlot(config, [&](DayKind, int, const TimeSlot& slot) {
        if (hasMenu(slot)) reach(slot.menu);
    });
    while (!pending.empty()) {
        const int menu = pending.back();
        pending.pop_back();
        for (const MenuOption& row : config.menus[menu]) {
            for (const std::string* target : {&row.target1, &row.target2}) {
                if (auto next = menuReference(*target)) reach(*next);
            }
        }
    }
    return reached;
}

std::vector<Finding> checkCallFlow(const DeviceConfiguration& config, const PromptProbe& prompts) {
    return CallFlowCheck(config, prompts).run();
}

std::vector<Finding> checkCallFlow(const DeviceConfiguration& config, const std::string& folder) {
    return checkCallFlow(config, [&folder](int menu) { return promptState(folder, menu); });
}

}  // namespace quorvel
