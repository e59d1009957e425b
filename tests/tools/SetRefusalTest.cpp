#include <gtest/gtest.h>

#include <cctype>

#include "CardToolRun.h"
#include "ScratchCard.h"

namespace {

constexpr const char* kMenuRange = "A faixa de menus deve ser de M0 a M9.";
constexpr const char* kBadTime = "A hora informada não é valida verifique.";
constexpr const char* kBadDate = "A data informada não é uma data valida.";
constexpr const char* kStar = "O caracter * só pode ser o primeiro.";
// The window's message for these names its Esc key; the tool has its own.
constexpr const char* kIncompleteTime = "is not a complete time (HH:MM)";
constexpr const char* kIncompleteDate = "is not a complete date (DD/MM)";
constexpr const char* kFiltered = "holds characters this field does not accept";
constexpr const char* kNotMenu =
    "is neither an item of the list (\"Menu 0\", \"Menu 1\", \"Menu 2\", \"Menu 3\", \"Menu 4\", \"Menu 5\", "
    "\"Menu 6\", \"Menu 7\", \"Menu 8\", \"Menu 9\") nor an item index from -1 to 9";
constexpr const char* kNotDigitCount =
    "is neither an item of the list (\"2\", \"3\", \"4\", \"5\") nor an item index from -1 to 3";
constexpr const char* kNotFlash =
    "is neither an item of the list (\"100 ms\", \"200 ms\", \"300 ms\", \"400 ms\", \"500 ms\", \"600 ms\", "
    "\"700 ms\", \"800 ms\", \"900 ms\") nor an item index from -1 to 8";
constexpr const char* kNotPabx =
    "is neither an item of the list (\"Padrão Telebras 1\", \"Padrão Telebras 2\", \"Padrão Telebras 3\", "
    "\"Padrão Telebras 4\", \"Padrão Intermediário\", \"Padrão Panasonic 1\", \"Padrão Panasonic 2\", "
    "\"Padrão Panasonic 3\", \"Padrão Panasonic 4\") nor an item index from -1 to 8";

struct Refused {
    std::string argument;
    std::vector<std::string> messages;
};

void PrintTo(const Refused& refused, std::ostream* out) { *out << refused.argument; }

// Test names may only hold letters, digits and "_"; the index keeps them unique.
std::string caseName(const ::testing::TestParamInfo<Refused>& info) {
    std::string name;
    for (char c : info.param.argument) {
        name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    }
    return name + "_" + std::to_string(info.index);
}

class SetRefusal : public ::testing::TestWithParam<Refused> {};

// A valid assignment comes first: a refusal must stop it from being saved too.
TEST_P(SetRefusal, ExitsWith2PrintsWhyAndWritesNothing) {
    ScratchCard card;
    ASSERT_EQ(runCardTool({"init", card.folder()}).status, 0);
    const auto before = card.snapshot();

    const ToolRun run = runCardTool({"set", card.folder(), "menus.1.1.target1=11", GetParam().argument});

    std::string expected;
    for (const std::string& message : GetParam().messages) {
        expected += GetParam().argument + ": " + message + "\n";
    }
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, expected);
    EXPECT_EQ(card.snapshot(), before);
}

INSTANTIATE_TEST_SUITE_P(ExitChecks, SetRefusal,
                         ::testing::Values(Refused{"menus.0.1.target1=MM", {kMenuRange}},
                                           Refused{"menus.9.0.target2=m12", {kMenuRange}},
                                           Refused{"timetable.Sab.3.time=24:00", {kBadTime}},
                                           Refused{"holidays.9=29/02", {kBadDate}},
                                           Refused{"accessCodes.restoreCode=**", {kStar}},
                                           Refused{"accessCodes.restoreCode=1**", {kStar, kStar}},
                                           Refused{"timetable.Dom.0.time=8:3", {kIncompleteTime}},
                                           Refused{"timetable.Dom.0.time= 8:  ", {kIncompleteTime}},
                                           Refused{"holidays.3= 1/ 1", {kIncompleteDate}}),
                         caseName);

INSTANTIATE_TEST_SUITE_P(
    FiltersAndLimits, SetRefusal,
    ::testing::Values(Refused{"menus.0.1.target1=1a", {kFiltered}},
                      Refused{"menus.0.1.target1=\xC3\x87"
                              "1",
                              {kFiltered}},
                      Refused{"menus.0.1.target1=1\b", {kFiltered}},
                      Refused{"menus.0.1.target1=12345", {"is longer than the 4 characters this field holds"}},
                      Refused{"restrictedExtensions.3=12#", {kFiltered}},
                      Refused{"settings.lowerExtension=12345", {"is longer than the 4 characters this field holds"}},
                      Refused{"accessCodes.password=1*", {kFiltered}},
                      Refused{"accessCodes.password=1234", {"is longer than the 3 characters this field holds"}},
                      Refused{"accessCodes.restoreCode=M1", {kFiltered}},
                      Refused{"accessCodes.restoreCode=#123", {"is longer than the 3 characters this field holds"}}),
    caseName);

INSTANTIATE_TEST_SUITE_P(
    MalformedValues, SetRefusal,
    ::testing::Values(Refused{"timetable.Dom.0.time=ab:cd", {"is not a time the field can hold (HH:MM)"}},
                      Refused{"timetable.Dom.0.time=0830", {"is not a time the field can hold (HH:MM)"}},
                      Refused{"holidays.0=25.12", {"is not a date the field can hold (DD/MM)"}},
                      Refused{"timetable.Fer.0.menu=10", {kNotMenu}}, Refused{"timetable.Fer.0.menu=-2", {kNotMenu}},
                      Refused{"timetable.Fer.0.menu=1.5", {kNotMenu}},
                      Refused{"timetable.Fer.0.menu=menu 1", {kNotMenu}}, Refused{"timetable.Fer.0.menu=", {kNotMenu}},
                      Refused{"settings.digitCount=6", {kNotDigitCount}},
                      Refused{"settings.flashTime=1000 ms", {kNotFlash}},
                      Refused{"settings.flashTime=300ms", {kNotFlash}},
                      Refused{"settings.pabxType=Padrão Telebras 5", {kNotPabx}},
                      Refused{"settings.pabxType=18446744073709551615", {kNotPabx}},
                      Refused{"settings.greeting=1", {"is neither true nor false"}},
                      Refused{"menus.0.0.flagF=TRUE", {"is neither true nor false"}}),
    caseName);

INSTANTIATE_TEST_SUITE_P(
    UnknownPaths, SetRefusal,
    ::testing::Values(Refused{"menus.10.0.target1=1", {"no configuration value is named \"menus.10.0.target1\""}},
                      Refused{"menus.01.0.target1=1", {"no configuration value is named \"menus.01.0.target1\""}},
                      Refused{"menus.0.0=1", {"no configuration value is named \"menus.0.0\""}},
                      Refused{"timetable.Sun.0.time=08:00",
                              {"no configuration value is named \"timetable.Sun.0.time\""}},
                      Refused{"timetable.Seg.4.menu=1", {"no configuration value is named \"timetable.Seg.4.menu\""}},
                      Refused{"holidays.10=01/01", {"no configuration value is named \"holidays.10\""}},
                      Refused{"settings.flagF=true", {"no configuration value is named \"settings.flagF\""}},
                      Refused{"accessCodes=1", {"no configuration value is named \"accessCodes\""}},
                      Refused{"menus.0.1.target1", {"expected PATH=VALUE"}}),
    caseName);

}  // namespace
