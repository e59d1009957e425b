#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <vector>

#include "config/CallFlowCheck.h"

namespace quorvel {
namespace {

using Code = FindingCode;

struct Found {
    Code code;
    std::string path;

    bool operator==(const Found&) const = default;
};

void PrintTo(const Found& found, std::ostream* out) { *out << findingCodeName(found.code) << " " << found.path; }

// Menu 1 answers every day kind from 08:00; the holidays are the nine
// fixed national dates, the tenth field empty.
DeviceConfiguration answeringCard() {
    DeviceConfiguration config;
    config.menus[1][1].target1 = "201";
    for (auto& day : config.timetable) day.slots[0] = TimeSlot{"08:00", 1};
    config.holidays = {"01/01", "21/04", "01/05", "07/09", "12/10", "02/11", "15/11", "20/11", "25/12", kEmptyDate};
    return config;
}

struct Case {
    const char* name;
    std::function<void(DeviceConfiguration&)> edit;
    std::vector<Found> expected;
    std::function<PromptState(int)> prompts = [](int) { return PromptState::Playable; };
};

void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }

std::vector<Found> found(const DeviceConfiguration& config, const PromptProbe& prompts) {
    std::vector<Found> all;
    for (const Finding& finding : checkCallFlow(config, prompts)) all.push_back({finding.code, finding.path});
    return all;
}

// Each finding next to a near miss that must stay silent.
const Case kCases[] = {
    {"reference to an empty menu",
     [](auto& c) { c.menus[1][2].target1 = "M7"; },
     {{Code::EmptyMenuReference, "menus.1.2.target1"}}},
    {"reference to a defined menu",
     [](auto& c) {
         c.menus[1][2].target1 = "M5";
         c.menus[5][0].target2 = "300";
     },
     {}},
    {"slot selecting an empty menu",
     [](auto& c) {
         c.day(DayKind::Seg).slots[1] = {"12:00", 4};
     },
     {{Code::SlotSelectsEmptyMenu, "timetable.Seg.1.menu"}}},
    {"menus defined only through a chain of references",
     [](auto& c) {
         c.day(DayKind::Seg).slots[1] = {"12:00", 4};
         c.menus[4][9].target1 = "M6";
         c.menus[6][3].target2 = "M8";
         c.menus[8][0].target1 = "300";
     },
     {}},
    {"time without a menu",
     [](auto& c) {
         c.day(DayKind::Ter).slots[2] = {"12:00", kNoSelection};
     },
     {{Code::SlotIncomplete, "timetable.Ter.2.menu"}}},
    {"menu without a time",
     [](auto& c) {
         c.day(DayKind::Ter).slots[2] = {kEmptyTime, 1};
     },
     {{Code::SlotIncomplete, "timetable.Ter.2.time"}}},
    {"time with a one-digit hour and a menu",
     [](auto& c) {
         c.day(DayKind::Ter).slots[2] = {" 8:30", 1};
     },
     {}},
    {"targets, times and dates the window refuses",
     [](auto& c) {
         c.menus[1][3].target2 = "MM";
         c.menus[1][4].target1 = "M12";
         c.menus[1][5].target1 = "M";
         c.menus[1][6].target1 = "12A";
         c.menus[1][7].target1 = "m5";
         c.day(DayKind::Qua).slots[1] = {"24:00", 1};
         c.day(DayKind::Qua).slots[2] = {" 8: 3", 1};
         c.holidays[8] = "31/04";
         c.holidays[9] = "29/02";
     },
     {{Code::InvalidTarget, "holidays.8"},
      {Code::InvalidTarget, "holidays.9"},
      {Code::InvalidTarget, "menus.1.3.target2"},
      {Code::InvalidTarget, "menus.1.4.target1"},
      {Code::InvalidTarget, "menus.1.5.target1"},
      {Code::InvalidTarget, "menus.1.6.target1"},
      {Code::InvalidTarget, "menus.1.7.target1"},
      {Code::InvalidTarget, "timetable.Qua.1.time"},
      {Code::InvalidTarget, "timetable.Qua.2.time"},
      {Code::NationalHolidayMissing, "holidays"}}},
    {"targets, times and dates the window accepts",
     [](auto& c) {
         c.menus[1][3].target2 = "1M2";
         c.menus[1][4].target1 = "*9#";
         c.menus[1][5].target1 = "M#";
         c.day(DayKind::Qua).slots[1] = {"23:59", 1};
         c.day(DayKind::Qua).slots[2] = {" 0:00", 1};
         c.holidays[2] = " 1/05";
         c.holidays[9] = "28/02";
     },
     {}},
    {"menu that nothing leads to",
     [](auto& c) { c.menus[3][1].target1 = "300"; },
     {{Code::UnreachableMenu, "menus.3"}}},
    {"menu led to from a menu only",
     [](auto& c) {
         c.menus[3][1].target1 = "300";
         c.menus[1][0].target2 = "M3";
     },
     {}},
    {"reachable menu without its prompt",
     [](auto&) {},
     {{Code::MissingPrompt, "menus.1.prompt"}},
     [](int menu) { return menu == 1 ? PromptState::Missing : PromptState::Playable; }},
    {"reachable menu with a prompt the device cannot play",
     [](auto&) {},
     {{Code::MissingPrompt, "menus.1.prompt"}},
     [](int menu) { return menu == 1 ? PromptState::Unplayable : PromptState::Playable; }},
    {"prompts missing only for menus nothing reaches",
     [](auto&) {},
     {},
     [](int menu) { return menu == 1 ? PromptState::Playable : PromptState::Missing; }},
    {"day kind without a complete slot",
     [](auto& c) { c.day(DayKind::Dom).slots[0] = TimeSlot{}; },
     {{Code::DayWithoutSlots, "timetable.Dom"}}},
    {"holiday kind without slots and with holiday dates",
     [](auto& c) { c.day(DayKind::Fer).slots[0] = TimeSlot{}; },
     {{Code::DayWithoutSlots, "timetable.Fer"}}},
    {"holiday kind without slots and without holiday dates",
     [](auto& c) {
         c.day(DayKind::Fer).slots[0] = TimeSlot{};
         c.holidays.fill(kEmptyDate);
     },
     {}},
    {"same holiday twice, however padded",
     [](auto& c) { c.holidays[9] = " 1/05"; },
     {{Code::DuplicateHoliday, "holidays.9"}}},
    {"holidays sharing only the day", [](auto& c) { c.holidays[9] = "25/11"; }, {}},
    {"national holiday missing while the holiday kind answers",
     [](auto& c) { c.holidays[7] = "20/12"; },
     {{Code::NationalHolidayMissing, "holidays"}}},
    {"national holidays missing with the holiday kind answering only in part",
     [](auto& c) {
         c.holidays[1] = kEmptyDate;
         c.holidays[8] = kEmptyDate;
         c.day(DayKind::Fer).slots[0] = {"08:00", kNoSelection};
         c.day(DayKind::Fer).slots[1] = {"18:00", 1};
     },
     {{Code::SlotIncomplete, "timetable.Fer.0.menu"},
      {Code::NationalHolidayMissing, "holidays"},
      {Code::NationalHolidayMissing, "holidays"}}},
    {"national holidays missing while the holiday kind has only a time",
     [](auto& c) {
         c.holidays[1] = kEmptyDate;
         c.day(DayKind::Fer).slots[0] = {"08:00", kNoSelection};
     },
     {{Code::SlotIncomplete, "timetable.Fer.0.menu"}, {Code::DayWithoutSlots, "timetable.Fer"}}},
    {"lower extension above the upper one",
     [](auto& c) {
         c.settings.lowerExtension = "0300";
         c.settings.upperExtension = "299";
     },
     {{Code::ExtensionRangeReversed, "settings.lowerExtension"}}},
    {"extensions compared as numbers, not as texts",
     [](auto& c) {
         c.settings.lowerExtension = "9";
         c.settings.upperExtension = "10";
     },
     {}},
    {"only one extension set", [](auto& c) { c.settings.lowerExtension = "9999"; }, {}},
};

class CallFlowCase : public ::testing::TestWithParam<Case> {};

TEST_P(CallFlowCase, FindsExactlyWhatIsWrong) {
    DeviceConfiguration config = answeringCard();
    GetParam().edit(config);
    EXPECT_EQ(found(config, GetParam().prompts), GetParam().expected);
}

std::string caseName(const ::testing::TestParamInfo<Case>& tested) {
    std::string name = tested.param.name;
    for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    }
    return name;
}

INSTANTIATE_TEST_SUITE_P(Findings, CallFlowCase, ::testing::ValuesIn(kCases), caseName);

TEST(CallFlowCheck, FreshCardHasNoFindingsAndProbesNoPrompt) {
    DeviceConfiguration fresh;
    fresh.holidays = {"  /  ", "  /  ", "01/01", "21/04", "01/05", "07/09", "12/10", "02/11", "15/11", "25/12"};
    int probes = 0;
    EXPECT_TRUE(checkCallFlow(fresh, [&](int) {
                    ++probes;
                    return PromptState::Missing;
                }).empty());
    EXPECT_EQ(probes, 0);
}

TEST(CallFlowCheck, OrdersByCodeThenPathAndSaysWhereInPortuguese) {
    DeviceConfiguration config = answeringCard();
    config.settings.lowerExtension = "9";
    config.settings.upperExtension = "1";
    config.menus[1][0].target1 = "MM";
    config.menus[1][0].target2 = "M4";
    config.day(DayKind::Sab).slots[3] = {kEmptyTime, 7};
    config.day(DayKind::Dom).slots[0] = TimeSlot{};
    const std::vector<Finding> findings =
        checkCallFlow(config, [](int menu) { return menu == 7 ? PromptState::Missing : PromptState::Playable; });

    std::vector<std::pair<std::string, std::string>> lines;
    for (const Finding& finding : findings) lines.emplace_back(findingCodeName(finding.code), finding.message);
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"empty-menu-reference", "Menu 1, Não Dig: M4 leva ao Menu 4, que não tem nenhuma opção."},
        {"slot-incomplete", "Sáb, horário 4: menu sem hora."},
        {"invalid-target", "Menu 1, Não Dig: A faixa de menus deve ser de M0 a M9."},
        {"missing-prompt", "Menu 7: o arquivo de voz 107.wav não está na pasta do cartão."},
        {"day-without-slots", "Dom: nenhum horário completo; neste dia a linha fica sem menu."},
        {"extension-range-reversed", "Ramal Inferior 9 é maior que o Ramal Superior 1."},
    };
    EXPECT_EQ(lines, expected);
}

TEST(CallFlowCheck, NamesEveryMissingNationalDateInCalendarOrder) {
    DeviceConfiguration config = answeringCard();
    config.holidays[0] = kEmptyDate;
    config.holidays[7] = "20/12";
    std::vector<std::string> messages;
    for (const Finding& finding : checkCallFlow(config, [](int) { return PromptState::Playable; })) {
        EXPECT_EQ(findingCodeName(finding.code), "national-holiday-missing");
        EXPECT_EQ(finding.place.kind, FindingPlace::Kind::Holidays);
        messages.push_back(finding.message);
    }
    const std::vector<std::string> expected = {
        "O feriado nacional 01/01 não está no cadastro de feriados; nesse dia a linha segue o horário do dia da "
        "semana.",
        "O feriado nacional 20/11 não está no cadastro de feriados; nesse dia a linha segue o horário do dia da "
        "semana.",
    };
    EXPECT_EQ(messages, expected);
}

}  // namespace
}  // namespace quorvel
