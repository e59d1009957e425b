// Option values CLI11 alone would read too loosely: hexadecimal and octal
// years, seconds in exponent notation or "nan".
#include <gtest/gtest.h>

#include "CardToolRun.h"
#include "ScratchCard.h"

namespace {

struct OptionCase {
    std::vector<std::string> arguments;  // "" stands for the card folder
    int status;
    const char* said;  // the first line of the error output; empty when the command ran
};

void PrintTo(const OptionCase& c, std::ostream* out) {
    for (const std::string& argument : c.arguments) *out << argument << ' ';
}

class OptionChecks : public ::testing::TestWithParam<OptionCase> {};

TEST_P(OptionChecks, UsageErrorWithAShortMessage) {
    ScratchCard card;
    ASSERT_EQ(runCardTool({"init", card.folder()}).status, 0);
    std::vector<std::string> arguments = GetParam().arguments;
    for (std::string& argument : arguments) {
        if (argument.empty()) argument = card.folder();
    }
    const ToolRun run = runCardTool(arguments);
    EXPECT_EQ(run.status, GetParam().status) << run.err;
    EXPECT_EQ(run.err.substr(0, run.err.find('\n')), GetParam().said);
}

INSTANTIATE_TEST_SUITE_P(Wait, OptionChecks,
                         ::testing::Values(OptionCase{{"set", "--wait", "1e10", "", "settings.pabxType=1"},
                                                      64,
                                                      "--wait: takes seconds from 0 to 86400, not \"1e10\""},
                                           OptionCase{{"set", "--wait", "9.3e9", "", "settings.pabxType=1"},
                                                      64,
                                                      "--wait: takes seconds from 0 to 86400, not \"9.3e9\""},
                                           OptionCase{{"set", "--wait", "nan", "", "settings.pabxType=1"},
                                                      64,
                                                      "--wait: takes seconds from 0 to 86400, not \"nan\""},
                                           OptionCase{{"set", "--wait", "-1", "", "settings.pabxType=1"},
                                                      64,
                                                      "--wait: takes seconds from 0 to 86400, not \"-1\""},
                                           OptionCase{{"set", "--wait", "86400.5", "", "settings.pabxType=1"},
                                                      64,
                                                      "--wait: takes seconds from 0 to 86400, not \"86400.5\""},
                                           OptionCase{{"set", "--wait", "1.2.3", "", "settings.pabxType=1"},
                                                      64,
                                                      "--wait: takes seconds from 0 to 86400, not \"1.2.3\""},
                                           OptionCase{{"set", "--wait", "86400", "", "settings.pabxType=1"}, 0, ""},
                                           OptionCase{{"set", "--wait", "0.5", "", "settings.pabxType=1"}, 0, ""}));

INSTANTIATE_TEST_SUITE_P(
    Year, OptionChecks,
    ::testing::Values(
        OptionCase{
            {"holidays", "", "0x7ea"}, 64, "YEAR: \"0x7ea\" is not a year: give it in decimal digits, such as 2026"},
        OptionCase{{"holidays", "", "abc"}, 64, "YEAR: \"abc\" is not a year: give it in decimal digits, such as 2026"},
        OptionCase{
            {"holidays", "", "MMXXVI"}, 64, "YEAR: \"MMXXVI\" is not a year: give it in decimal digits, such as 2026"},
        OptionCase{{"holidays", "", "1582"}, 64, "YEAR: 1582 is outside the years 1583 to 9999"},
        OptionCase{{"holidays", "", "10000"}, 64, "YEAR: 10000 is outside the years 1583 to 9999"},
        OptionCase{{"holidays", "", "02026"}, 0, ""}));

}  // namespace
