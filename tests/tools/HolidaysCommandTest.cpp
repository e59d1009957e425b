#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "CardToolRun.h"
#include "ScratchCard.h"

namespace {

struct YearCase {
    const char* year;
    const char* goodFriday;
};

class HolidaysCommand : public ::testing::TestWithParam<YearCase> {
protected:
    void SetUp() override { ASSERT_EQ(runCardTool({"init", card.folder()}).status, 0); }
    ScratchCard card;
};

TEST_P(HolidaysCommand, SavesTheNationalDatesWithThatYearsGoodFriday) {
    const ToolRun run = runCardTool({"holidays", card.folder(), GetParam().year});
    ASSERT_EQ(run.status, 0) << run.err;
    const nlohmann::json expected = {
        "01/01", GetParam().goodFriday, "21/04", "01/05", "07/09", "12/10", "02/11", "15/11", "20/11", "25/12"};
    EXPECT_EQ(nlohmann::json::parse(run.out)["holidays"], expected);
    const ToolRun shown = runCardTool({"show", card.folder()});
    EXPECT_EQ(nlohmann::json::parse(shown.out)["holidays"], expected);
    const ToolRun check = runCardTool({"check", card.folder()});
    EXPECT_EQ(check.out.find("national-holiday-missing"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Years, HolidaysCommand,
                         ::testing::Values(YearCase{"2024", "29/03"}, YearCase{"2025", "18/04"},
                                           YearCase{"2026", "03/04"}, YearCase{"2027", "26/03"}),
                         [](const auto& row) { return std::string(row.param.year); });

struct OwnDateCase {
    const char* name;
    const char* own;  // entered into the first holiday field, empty on a new card
    const char* year;
    std::vector<std::string> holidays;
    const char* said;  // on the error output
};

void PrintTo(const OwnDateCase& c, std::ostream* out) { *out << c.name; }

class HolidaysOwnDates : public ::testing::TestWithParam<OwnDateCase> {};

// The new card holds eight national dates; the ninth and tenth fields stay
// free in years without 20/11 or with Good Friday on 21/04.
TEST_P(HolidaysOwnDates, KeptWhereFieldsAreFreeOrNamed) {
    const OwnDateCase& c = GetParam();
    ScratchCard card;
    ASSERT_EQ(runCardTool({"init", card.folder()}).status, 0);
    ASSERT_EQ(runCardTool({"set", card.folder(), std::string("holidays.0=") + c.own}).status, 0);
    const ToolRun run = runCardTool({"holidays", card.folder(), c.year});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(nlohmann::json::parse(run.out)["holidays"], nlohmann::json(c.holidays));
    EXPECT_EQ(run.err,
              c.said[0] ? card.folder() + ": the holiday " + c.said + " was left out: the ten holiday fields are full\n"
                        : "");
    const ToolRun check = runCardTool({"check", card.folder()});
    EXPECT_EQ(check.out.find("duplicate-holiday"), std::string::npos) << check.out;
}

INSTANTIATE_TEST_SUITE_P(
    Cards, HolidaysOwnDates,
    ::testing::Values(
        OwnDateCase{"GoodFridayOnTiradentes",
                    "",
                    "2000",
                    {"01/01", "21/04", "01/05", "07/09", "12/10", "02/11", "15/11", "25/12", "  /  ", "  /  "},
                    ""},
        OwnDateCase{"OwnDateKept",
                    "24/12",
                    "2079",
                    {"01/01", "21/04", "01/05", "07/09", "12/10", "02/11", "15/11", "20/11", "24/12", "25/12"},
                    ""},
        OwnDateCase{"OwnDateNamedWhenFull",
                    "24/12",
                    "2026",
                    {"01/01", "03/04", "21/04", "01/05", "07/09", "12/10", "02/11", "15/11", "20/11", "25/12"},
                    "24/12"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(HolidaysCommandCheck, NationalDateMissingIsReportedOnlyWhenTheHolidayKindAnswers) {
    ScratchCard card;
    ASSERT_EQ(runCardTool({"init", card.folder()}).status, 0);
    ASSERT_EQ(runCardTool({"set", card.folder(), "menus.1.1.target1=201", "timetable.Seg.0.time=08:00",
                           "timetable.Seg.0.menu=1"})
                  .status,
              0);
    // The new card's holidays lack 20/11 and Good Friday, but Fer has no slot.
    EXPECT_EQ(runCardTool({"check", card.folder()}).out.find("national-holiday-missing"), std::string::npos);

    ASSERT_EQ(runCardTool({"set", card.folder(), "timetable.Fer.0.time=08:00", "timetable.Fer.0.menu=1"}).status, 0);
    const ToolRun check = runCardTool({"check", card.folder()});
    EXPECT_EQ(check.status, 3);
    const nlohmann::json findings = nlohmann::json::parse(check.out)["findings"];
    std::vector<std::string> missing;
    for (const auto& finding : findings) {
        if (finding["code"] == "national-holiday-missing") missing.push_back(finding["message"]);
    }
    ASSERT_EQ(missing.size(), 1u) << check.out;
    EXPECT_NE(missing[0].find("20/11"), std::string::npos);
}

}  // namespace
