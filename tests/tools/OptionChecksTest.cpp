// Option values CLI11 alone would read too loosely: hexadecimal and octal
// years, seconds in exponent notation or "nan".
#include <gtest/gtest.h>

#include "CardToolRun.h"
#include "ScratchCard.h"

namespace {

struct OptionCase {
    const char* value;  // of --wait for `set`, or YEAR for `holidays`
    bool wait;
    int status;
    const char* said;  // the first line of the error output; empty when the command ran
};

void PrintTo(const OptionCase& c, std::ostream* out) { *out << c.value; }

class OptionChecks : public ::testing::TestWithParam<OptionCase> {};

TEST_P(OptionChecks, UsageErrorWithAShortMessage) {
    const OptionCase& c = GetParam();
    ScratchCard card;
    ASSERT_EQ(runCardTool({"init", card.folder()}).status, 0);
    const ToolRun run = c.wait ? runCardTool({"set", "--wait", c.value, card.folder(), "settings.pabxType=1"})
                               : runCardTool({"holidays", card.folder(), c.value});
    EXPECT_EQ(run.status, c.status) << run.err;
    EXPECT_EQ(run.err.substr(0, run.err.find('\n')), c.said);
}

INSTANTIATE_TEST_SUITE_P(
    Values, OptionChecks,
    ::testing::Values(
        OptionCase{"1e10", true, 64, "--wait: takes seconds from 0 to 86400, not \"1e10\""},
        OptionCase{"9.3e9", true, 64, "--wait: takes seconds from 0 to 86400, not \"9.3e9\""},
        OptionCase{"nan", true, 64, "--wait: takes seconds from 0 to 86400, not \"nan\""},
        OptionCase{"-1", true, 64, "--wait: takes seconds from 0 to 86400, not \"-1\""},
        OptionCase{"86400.5", true, 64, "--wait: takes seconds from 0 to 86400, not \"86400.5\""},
        OptionCase{"1.2.3", true, 64, "--wait: takes seconds from 0 to 86400, not \"1.2.3\""},
        OptionCase{"86400", true, 0, ""}, OptionCase{"0.5", true, 0, ""},
        OptionCase{"0x7ea", false, 64, "YEAR: \"0x7ea\" is not a year: give it in decimal digits, such as 2026"},
        OptionCase{"abc", false, 64, "YEAR: \"abc\" is not a year: give it in decimal digits, such as 2026"},
        OptionCase{"1582", false, 64, "YEAR: 1582 is outside the years 1583 to 9999"},
        OptionCase{"10000", false, 64, "YEAR: 10000 is outside the years 1583 to 9999"},
        OptionCase{"02026", false, 0, ""}));

}  // namespace
