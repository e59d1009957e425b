#include "CallFlowModel.h"
#include "AsciiDigit.h"

#include <algorithm>
#include <map>

#include "Catalogue.h"
#include "MaskedText.h"

namespace quorvel {
namespace {

using Kind = FindingPlace::Kind;

std::vector<FlowMenu> menuElements(const DeviceConfiguration& config, const PromptProbe& prompts) {
    const std::array<bool, kMenuCount> reached = reachableMenus(config);
    std::array<bool, kMenuCount> drawn = reached;
    std::vector<FlowMenu> menus;
    for (int menu = 0; menu < kMenuCount; ++menu) {
        FlowMenu element;
        element.menu = menu;
        element.reachable = reached[menu];
        for (int digit = 0; digit < kOptionCount; ++digit) {
            const MenuOption& row = config.menus[menu][digit];
            FlowOption option;
            option.digit = digit;
            option.flagF = row.flagF;
            int field = 1;
            for (const std::string* text : {&row.target1, &row.target2}) {
                if (!text->empty()) {
                    FlowTarget target{*text, targetKind(*text), menuReference(*text).value_or(kNoSelection), field, {}};
                    if (target.kind == TargetKind::Menu) drawn[target.menu] = true;
                    option.targets.push_back(std::move(target));
                }
                ++field;
            }
            if (!option.targets.empty() || option.flagF) element.options.push_back(std::move(option));
            if (!row.target1.empty() || !row.target2.empty()) element.defined = true;
        }
        if (element.defined) drawn[menu] = true;
        menus.push_back(std::move(element));
    }
    std::erase_if(menus, [&](const FlowMenu& element) { return !drawn[element.menu]; });
    for (FlowMenu& element : menus) element.prompt = prompts(element.menu);
    return menus;
}

std::vector<FlowEndpoint> endpointElements(const std::vector<FlowMenu>& menus) {
    std::map<std::string, FlowEndpoint> byText;
    for (const FlowMenu& menu : menus) {
        for (const FlowOption& option : menu.options) {
            for (const FlowTarget& target : option.targets) {
                if (target.kind == TargetKind::Menu || target.kind == TargetKind::Other) continue;
                FlowEndpoint& endpoint = byText[target.text];
                endpoint.text = target.text;
                endpoint.kind = target.kind;
                endpoint.from.push_back({target.field == 1 ? Kind::Target1 : Kind::Target2, menu.menu, option.digit});
            }
        }
    }
    std::vector<FlowEndpoint> endpoints;
    for (auto& [text, endpoint] : byText) endpoints.push_back(std::move(endpoint));
    return endpoints;
}

class ModelBuilder {
public:
    explicit ModelBuilder(CallFlowModel& model) : model_(model) {}

    void attach(std::size_t index) {
        const FindingPlace& place = model_.findings[index].place;
        switch (place.kind) {
            case Kind::Target1:
            case Kind::Target2:
                if (FlowTarget* target = findTarget(place)) {
                    target->findings.push_back(index);
                    return;
                }
                break;
            case Kind::SlotTime:
            case Kind::SlotMenu:
                for (FlowSlot& slot : model_.week[place.first].slots) {
                    if (slot.slot == place.second) {
                        slot.findings.push_back(index);
                        return;
                    }
                }
                model_.week[place.first].findings.push_back(index);
                return;
            case Kind::Day:
                model_.week[place.first].findings.push_back(index);
                return;
            case Kind::Holiday:
            case Kind::Holidays:
                model_.holidayFindings.push_back(index);
                return;
            case Kind::LowerExtension:
                model_.settingsFindings.push_back(index);
                return;
            case Kind::Menu:
            case Kind::Prompt:
                break;
        }
        if (FlowMenu* menu = findMenu(place.first)) menu->findings.push_back(index);
    }

private:
    FlowMenu* findMenu(int number) {
        auto found = std::find_if(model_.menus.begin(), model_.menus.end(),
                                  [&](const FlowMenu& menu) { return menu.menu == number; });
        return found == model_.menus.end() ? nullptr : &*found;
    }

    FlowTarget* findTarget(const FindingPlace& place) {
        FlowMenu* menu = findMenu(place.first);
        if (menu == nullptr) return nullptr;
        const int field = place.kind == Kind::Target1 ? 1 : 2;
        for (FlowOption& option : menu->options) {
            if (option.digit != place.second) continue;
            for (FlowTarget& target : option.targets) {
                if (target.field == field) return &target;
            }
        }
        return nullptr;
    }

    CallFlowModel& model_;
};

}  // namespace

TargetKind targetKind(const std::string& target) {
    if (menuReference(target)) return TargetKind::Menu;
    if (target.empty()) return TargetKind::Other;
    if (std::all_of(target.begin(), target.end(), isAsciiDigit)) return TargetKind::Extension;
    const bool dialling =
        std::all_of(target.begin(), target.end(), [](char c) { return isAsciiDigit(c) || c == '*' || c == '#'; });
    return dialling ? TargetKind::Dialling : TargetKind::Other;
}

const FlowMenu* CallFlowModel::menu(int number) const {
    auto found = std::find_if(menus.begin(), menus.end(), [&](const FlowMenu& menu) { return menu.menu == number; });
    return found == menus.end() ? nullptr : &*found;
}

CallFlowModel buildCallFlowModel(const DeviceConfiguration& config, std::vector<Finding> findings,
                                 const PromptProbe& prompts) {
    CallFlowModel model;
    for (int day = 0; day < kDayKindCount; ++day) {
        FlowDay& flowDay = model.week[day];
        flowDay.kind = static_cast<DayKind>(day);
        for (int slot = 0; slot < kSlotCount; ++slot) {
            const TimeSlot& value = config.timetable[day].slots[slot];
            const bool hasMenu = value.menu >= 0 && value.menu < kMenuCount;
            if (isMaskEmpty(value.time) && !hasMenu) continue;
            flowDay.slots.push_back({slot, value.time, hasMenu ? value.menu : kNoSelection, {}});
            if (hasMenu) model.edges.push_back({FlowEdge::From::Slot, day, slot, value.menu});
        }
    }
    model.menus = menuElements(config, prompts);
    for (const FlowMenu& menu : model.menus) {
        for (const FlowOption& option : menu.options) {
            for (const FlowTarget& target : option.targets) {
                if (target.kind == TargetKind::Menu) {
                    model.edges.push_back({FlowEdge::From::Option, menu.menu, option.digit, target.menu});
                }
            }
        }
    }
    model.endpoints = endpointElements(model.menus);
    model.findings = std::move(findings);
    ModelBuilder builder(model);
    for (std::size_t index = 0; index < model.findings.size(); ++index) builder.attach(index);
    return model;
}

CallFlowModel buildCallFlowModel(const DeviceConfiguration& config, const std::string& folder) {
    const PromptProbe prompts = [&folder](int menu) { return promptState(folder, menu); };
    return buildCallFlowModel(config, checkCallFlow(config, prompts), prompts);
}

}  // namespace quorvel
