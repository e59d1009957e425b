// The call flow of a card as a graph to draw: the week's slots leading to
// menus, menus leading to menus and to extensions or groups. It restates the
// card and attaches the call-flow check's findings to the elements they
// concern; it decides nothing about how the device applies the timetable.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "CallFlowCheck.h"
#include "DeviceConfiguration.h"
#include "PromptFile.h"

namespace quorvel {

// Indices into CallFlowModel::findings.
using FindingRefs = std::vector<std::size_t>;

// A slot with a time or a menu; empty slots are left out.
struct FlowSlot {
    int slot = 0;      // from 0
    std::string time;  // as the field shows it
    int menu = kNoSelection;
    FindingRefs findings;
};

struct FlowDay {
    DayKind kind = DayKind::Fer;
    std::vector<FlowSlot> slots;
    FindingRefs findings;  // of the day kind as a whole
};

enum class TargetKind {
    Menu,       // "Mk"
    Extension,  // digits: an extension or a group
    Dialling,   // a dialling string with "*" or "#"
    Other,      // what the entry rules refuse
};

struct FlowTarget {
    std::string text;
    TargetKind kind = TargetKind::Other;
    int menu = kNoSelection;  // for TargetKind::Menu
    int field = 1;            // 1 for target1, 2 for target2
    FindingRefs findings;
};

// An option row with at least one target or the F flag; digit 0 is "Não Dig".
struct FlowOption {
    int digit = 0;
    std::vector<FlowTarget> targets;  // target1 then target2, the empty ones left out
    bool flagF = false;
};

// A menu with options, or one a slot or a target leads to.
struct FlowMenu {
    int menu = 0;
    bool defined = false;    // has at least one target
    bool reachable = false;  // a slot or a reachable menu leads to it
    PromptState prompt = PromptState::Playable;
    std::vector<FlowOption> options;
    FindingRefs findings;  // of the menu and of its prompt
};

// An extension, group or dialling string some option sends callers to.
struct FlowEndpoint {
    std::string text;
    TargetKind kind = TargetKind::Extension;
    std::vector<FindingPlace> from;  // the target fields that name it, in menu order
};

struct FlowEdge {
    enum class From { Slot, Option };
    From from = From::Slot;
    int first = 0;   // day kind index, or menu
    int second = 0;  // slot, or option digit
    int menu = 0;    // the menu led to
};

struct CallFlowModel {
    std::array<FlowDay, kDayKindCount> week;  // card-file order: Fer, Dom, Seg, ... Sab
    std::vector<FlowMenu> menus;              // by menu number
    std::vector<FlowEndpoint> endpoints;      // by text
    std::vector<FlowEdge> edges;              // slots first, in week order, then options
    std::vector<Finding> findings;            // the check's, in its order
    FindingRefs holidayFindings;
    FindingRefs settingsFindings;

    // The menu `menu`, or nullptr when it has no element.
    const FlowMenu* menu(int menu) const;
};

// The model of `config` with the check's `findings` on it; `prompts` tells
// each drawn menu's prompt state.
CallFlowModel buildCallFlowModel(const DeviceConfiguration& config, std::vector<Finding> findings,
                                 const PromptProbe& prompts);

// The same with the check run on the prompts of the card folder `folder`.
CallFlowModel buildCallFlowModel(const DeviceConfiguration& config, const std::string& folder);

TargetKind targetKind(const std::string& target);

}  // namespace quorvel
