#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <vector>

#include "config/CallFlowModel.h"
#include "config/NationalHolidays.h"

namespace quorvel {
namespace {

using Code = FindingCode;

const PromptProbe kAllPlayable = [](int) { return PromptState::Playable; };

CallFlowModel modelOf(const DeviceConfiguration& config, const PromptProbe& prompts = kAllPlayable) {
    return buildCallFlowModel(config, checkCallFlow(config, prompts), prompts);
}

const FlowDay& dayOf(const CallFlowModel& model, DayKind kind) { return model.week[static_cast<int>(kind)]; }

std::vector<int> menuNumbers(const CallFlowModel& model) {
    std::vector<int> numbers;
    for (const FlowMenu& menu : model.menus) numbers.push_back(menu.menu);
    return numbers;
}

struct Edge {
    FlowEdge::From from;
    int first;
    int second;
    int menu;

    bool operator==(const Edge&) const = default;
};

void PrintTo(const Edge& edge, std::ostream* out) {
    *out << (edge.from == FlowEdge::From::Slot ? "slot " : "option ") << edge.first << "." << edge.second << " -> "
         << edge.menu;
}

std::vector<Edge> edgesOf(const CallFlowModel& model) {
    std::vector<Edge> edges;
    for (const FlowEdge& edge : model.edges) edges.push_back({edge.from, edge.first, edge.second, edge.menu});
    return edges;
}

// Where each finding ended up, by code: "target", "slot", "day", "menu", "holidays", "settings".
std::multimap<Code, std::string> placesOfFindings(const CallFlowModel& model) {
    std::multimap<Code, std::string> places;
    const auto note = [&](const FindingRefs& refs, const char* where) {
        for (std::size_t index : refs) places.emplace(model.findings.at(index).code, where);
    };
    for (const FlowDay& day : model.week) {
        note(day.findings, "day");
        for (const FlowSlot& slot : day.slots) note(slot.findings, "slot");
    }
    for (const FlowMenu& menu : model.menus) {
        note(menu.findings, "menu");
        for (const FlowOption& option : menu.options) {
            for (const FlowTarget& target : option.targets) note(target.findings, "target");
        }
    }
    note(model.holidayFindings, "holidays");
    note(model.settingsFindings, "settings");
    return places;
}

TEST(CallFlowModel, FreshCardHasEmptyWeekAndNothingElse) {
    const CallFlowModel model = modelOf(DeviceConfiguration{});
    for (int day = 0; day < kDayKindCount; ++day) {
        EXPECT_EQ(model.week[day].kind, static_cast<DayKind>(day));
        EXPECT_TRUE(model.week[day].slots.empty());
        EXPECT_TRUE(model.week[day].findings.empty());
    }
    EXPECT_TRUE(model.menus.empty());
    EXPECT_TRUE(model.edges.empty());
    EXPECT_TRUE(model.endpoints.empty());
    EXPECT_TRUE(model.findings.empty());
}

// Menu 1 answers Seg to Sex, with every kind of mistake around it.
DeviceConfiguration cardWithEveryFinding() {
    DeviceConfiguration config;
    config.menus[1][1].target1 = "201";
    config.menus[1][2].target1 = "M7";   // menu 7 is empty
    config.menus[1][3].target2 = "M12";  // refused at entry
    config.menus[3][1].target1 = "300";  // nothing leads to menu 3
    for (DayKind kind : {DayKind::Seg, DayKind::Ter, DayKind::Qua, DayKind::Qui, DayKind::Sex}) {
        config.day(kind).slots[0] = {"08:00", 1};
    }
    config.day(DayKind::Seg).slots[1] = {"12:00", 8};  // menu 8 is empty
    config.day(DayKind::Ter).slots[2] = {"18:00", kNoSelection};
    config.day(DayKind::Fer).slots[0] = {"00:00", 1};  // so the national holidays not listed are found
    config.holidays[0] = "25/12";
    config.holidays[1] = "25/12";
    config.settings.lowerExtension = "300";
    config.settings.upperExtension = "200";
    return config;
}

TEST(CallFlowModel, EveryFindingIsAttachedOnceToTheElementItConcerns) {
    const PromptProbe prompts = [](int menu) { return menu == 1 ? PromptState::Missing : PromptState::Playable; };
    const CallFlowModel model = modelOf(cardWithEveryFinding(), prompts);

    const std::multimap<Code, std::string> places = placesOfFindings(model);
    ASSERT_EQ(places.size(), model.findings.size());
    std::multimap<Code, std::string> expected = {
        {Code::EmptyMenuReference, "target"}, {Code::SlotSelectsEmptyMenu, "slot"},
        {Code::SlotIncomplete, "slot"},       {Code::InvalidTarget, "target"},
        {Code::UnreachableMenu, "menu"},      {Code::MissingPrompt, "menu"},
        {Code::DayWithoutSlots, "day"},       {Code::DayWithoutSlots, "day"},  // Dom and Sab
        {Code::DuplicateHoliday, "holidays"}, {Code::ExtensionRangeReversed, "settings"},
    };
    // Every fixed national holiday but 25/12.
    for (std::size_t i = 1; i < kFixedNationalHolidays.size(); ++i) {
        expected.emplace(Code::NationalHolidayMissing, "holidays");
    }
    EXPECT_EQ(places, expected);

    const FlowMenu* menu1 = model.menu(1);
    ASSERT_NE(menu1, nullptr);
    EXPECT_EQ(menu1->prompt, PromptState::Missing);
    EXPECT_TRUE(menu1->reachable);
    ASSERT_EQ(menu1->options.size(), 3u);
    const FlowTarget& refused = menu1->options[2].targets.at(0);
    EXPECT_EQ(refused.field, 2);
    EXPECT_EQ(refused.kind, TargetKind::Other);
    ASSERT_EQ(refused.findings.size(), 1u);
    EXPECT_EQ(model.findings[refused.findings[0]].path, "menus.1.3.target2");

    const FlowMenu* menu3 = model.menu(3);
    ASSERT_NE(menu3, nullptr);
    EXPECT_FALSE(menu3->reachable);
    // Empty menus are drawn only because something leads to them.
    EXPECT_EQ(menuNumbers(model), (std::vector<int>{1, 3, 7, 8}));
    EXPECT_FALSE(model.menu(7)->defined);
    EXPECT_FALSE(model.menu(8)->defined);

    const FlowDay& ter = dayOf(model, DayKind::Ter);
    ASSERT_EQ(ter.slots.size(), 2u);
    EXPECT_EQ(ter.slots[1].slot, 2);
    EXPECT_EQ(ter.slots[1].menu, kNoSelection);
    EXPECT_EQ(ter.slots[1].findings.size(), 1u);
    // A slot without a menu leads nowhere.
    const std::vector<Edge> edges = edgesOf(model);
    EXPECT_EQ(std::count_if(edges.begin(), edges.end(), [](const Edge& e) { return e.first == 3 && e.second == 2; }),
              0);
}

TEST(CallFlowModel, MenuChainWithLoopKeepsEveryReference) {
    DeviceConfiguration config;
    config.day(DayKind::Seg).slots[0] = {"08:00", 0};
    config.menus[0][1].target1 = "M1";
    config.menus[1][1].target1 = "M2";
    config.menus[2][1].target1 = "M0";
    config.menus[2][2].target2 = "2001";
    config.menus[2][0].target1 = "*9#";
    config.menus[2][0].flagF = true;
    config.menus[5][1].target1 = "2001";

    const CallFlowModel model = modelOf(config);
    const int seg = static_cast<int>(DayKind::Seg);
    const std::vector<Edge> expected = {{FlowEdge::From::Slot, seg, 0, 0},
                                        {FlowEdge::From::Option, 0, 1, 1},
                                        {FlowEdge::From::Option, 1, 1, 2},
                                        {FlowEdge::From::Option, 2, 1, 0}};
    EXPECT_EQ(edgesOf(model), expected);
    EXPECT_EQ(menuNumbers(model), (std::vector<int>{0, 1, 2, 5}));
    for (int menu : {0, 1, 2}) EXPECT_TRUE(model.menu(menu)->reachable) << menu;
    EXPECT_FALSE(model.menu(5)->reachable);

    ASSERT_EQ(model.endpoints.size(), 2u);
    EXPECT_EQ(model.endpoints[0].text, "*9#");
    EXPECT_EQ(model.endpoints[0].kind, TargetKind::Dialling);
    EXPECT_EQ(model.endpoints[1].text, "2001");
    EXPECT_EQ(model.endpoints[1].kind, TargetKind::Extension);
    ASSERT_EQ(model.endpoints[1].from.size(), 2u);
    EXPECT_EQ(findingPath(model.endpoints[1].from[0]), "menus.2.2.target2");
    EXPECT_EQ(findingPath(model.endpoints[1].from[1]), "menus.5.1.target1");

    // The F flag keeps "Não Dig" in the menu with its target.
    const FlowOption& noDigit = model.menu(2)->options.front();
    EXPECT_EQ(noDigit.digit, 0);
    EXPECT_TRUE(noDigit.flagF);
    // Only menu 5 is left over: the loop itself is no finding.
    ASSERT_EQ(model.findings.size(), 7u);  // menu 5 and six day kinds without slots, Fer having no holiday
    EXPECT_EQ(model.menu(5)->findings.size(), 1u);
}

TEST(CallFlowModel, AllSlotsFilledGiveFourSlotsADayInOrder) {
    DeviceConfiguration config;
    const char* times[] = {"06:00", "08:30", "12:00", "18:45"};
    for (int day = 0; day < kDayKindCount; ++day) {
        for (int slot = 0; slot < kSlotCount; ++slot) {
            config.timetable[day].slots[slot] = {times[slot], (day + slot) % kMenuCount};
        }
    }
    for (int menu = 0; menu < kMenuCount; ++menu) config.menus[menu][1].target1 = std::to_string(200 + menu);
    // The holiday timetable is in use, so the national dates must be there.
    config.holidays = fillNationalHolidays({}, 2026).fields;

    const CallFlowModel model = modelOf(config);
    EXPECT_TRUE(model.findings.empty());
    ASSERT_EQ(model.edges.size(), static_cast<std::size_t>(kDayKindCount * kSlotCount));
    for (int day = 0; day < kDayKindCount; ++day) {
        ASSERT_EQ(model.week[day].slots.size(), 4u);
        for (int slot = 0; slot < kSlotCount; ++slot) {
            EXPECT_EQ(model.week[day].slots[slot].time, times[slot]);
            EXPECT_EQ(model.week[day].slots[slot].menu, (day + slot) % kMenuCount);
        }
    }
    EXPECT_EQ(model.menus.size(), static_cast<std::size_t>(kMenuCount));
    EXPECT_EQ(model.endpoints.size(), static_cast<std::size_t>(kMenuCount));
}

struct KindCase {
    const char* target;
    TargetKind kind;
};

class TargetKinds : public ::testing::TestWithParam<KindCase> {};

TEST_P(TargetKinds, TellMenusExtensionsAndDiallingApart) {
    EXPECT_EQ(targetKind(GetParam().target), GetParam().kind) << GetParam().target;
}

INSTANTIATE_TEST_SUITE_P(Targets, TargetKinds,
                         ::testing::Values(KindCase{"M3", TargetKind::Menu}, KindCase{"201", TargetKind::Extension},
                                           KindCase{"*12#", TargetKind::Dialling}, KindCase{"#", TargetKind::Dialling},
                                           KindCase{"12M", TargetKind::Other}, KindCase{"M", TargetKind::Other},
                                           KindCase{"M10", TargetKind::Other}, KindCase{"", TargetKind::Other}));

}  // namespace
}  // namespace quorvel
