#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "config/NationalHolidays.h"

namespace quorvel {
namespace {

struct YearCase {
    int year;
    DayOfYear easter;
    DayOfYear goodFriday;
};

void PrintTo(const YearCase& c, std::ostream* out) { *out << c.year; }

// Easter dates from the church calendars; 2008 and 2035 step back across
// the month, 2038 is the latest Easter of the century.
const YearCase kYears[] = {
    {2024, {31, 3}, {29, 3}}, {2025, {20, 4}, {18, 4}}, {2026, {5, 4}, {3, 4}},   {2027, {28, 3}, {26, 3}},
    {2008, {23, 3}, {21, 3}}, {2035, {25, 3}, {23, 3}}, {2038, {25, 4}, {23, 4}}, {2029, {1, 4}, {30, 3}},
    {2040, {1, 4}, {30, 3}},  {1818, {22, 3}, {20, 3}}, {2000, {23, 4}, {21, 4}},
};

class HolidayYear : public ::testing::TestWithParam<YearCase> {};

TEST_P(HolidayYear, EasterAndGoodFriday) {
    EXPECT_EQ(easterSunday(GetParam().year), GetParam().easter);
    EXPECT_EQ(goodFriday(GetParam().year), GetParam().goodFriday);
}

INSTANTIATE_TEST_SUITE_P(Years, HolidayYear, ::testing::ValuesIn(kYears));

using Dates = std::vector<HolidayDate>;

struct NationalCase {
    int year;
    Dates dates;
};

void PrintTo(const NationalCase& c, std::ostream* out) { *out << c.year; }

class NationalYear : public ::testing::TestWithParam<NationalCase> {};

TEST_P(NationalYear, EachDateOnceInCalendarOrder) { EXPECT_EQ(nationalHolidays(GetParam().year), GetParam().dates); }

// 2000, 2079 and 2152 have Good Friday on Tiradentes; 20/11 counts from 2024.
INSTANTIATE_TEST_SUITE_P(
    Years, NationalYear,
    ::testing::Values(
        NationalCase{2026, {"01/01", "03/04", "21/04", "01/05", "07/09", "12/10", "02/11", "15/11", "20/11", "25/12"}},
        NationalCase{2024, {"01/01", "29/03", "21/04", "01/05", "07/09", "12/10", "02/11", "15/11", "20/11", "25/12"}},
        NationalCase{2023, {"01/01", "07/04", "21/04", "01/05", "07/09", "12/10", "02/11", "15/11", "25/12"}},
        NationalCase{2000, {"01/01", "21/04", "01/05", "07/09", "12/10", "02/11", "15/11", "25/12"}},
        NationalCase{2079, {"01/01", "21/04", "01/05", "07/09", "12/10", "02/11", "15/11", "20/11", "25/12"}},
        NationalCase{2152, {"01/01", "21/04", "01/05", "07/09", "12/10", "02/11", "15/11", "20/11", "25/12"}}));

struct FillCase {
    const char* name;
    Dates current;  // the first fields; the rest are empty
    int year;
    Dates fields;  // the first fields; the rest must be empty
    Dates left;
};

void PrintTo(const FillCase& c, std::ostream* out) { *out << c.name; }

class HolidayFilling : public ::testing::TestWithParam<FillCase> {};

TEST_P(HolidayFilling, KeepsOwnDatesWhereFieldsAreFree) {
    std::array<HolidayDate, kHolidayCount> current;
    current.fill("  /  ");
    std::copy(GetParam().current.begin(), GetParam().current.end(), current.begin());
    const HolidayFill fill = fillNationalHolidays(current, GetParam().year);
    Dates expected = GetParam().fields;
    expected.resize(kHolidayCount, "  /  ");
    EXPECT_EQ(Dates(fill.fields.begin(), fill.fields.end()), expected);
    EXPECT_EQ(fill.left, GetParam().left);
}

INSTANTIATE_TEST_SUITE_P(
    Cards, HolidayFilling,
    ::testing::Values(
        FillCase{"FullYearLeavesNoRoom",
                 {"24/12", "01/01", " 8/12", "08/12", "24/12"},
                 2026,
                 {"01/01", "03/04", "21/04", "01/05", "07/09", "12/10", "02/11", "15/11", "20/11", "25/12"},
                 {"24/12", " 8/12"}},
        FillCase{"FreeFieldsTakeOwnDatesOnceInOrder",
                 {"24/12", "21/04", "24/12", "ab/cd", "20/01"},
                 2000,
                 {"01/01", "21/04", "01/05", "07/09", "12/10", "02/11", "15/11", "24/12", "25/12", "ab/cd"},
                 {"20/01"}},
        FillCase{"EarlierYearsGoodFridayIsReplaced",
                 {"01/01", "18/04", "21/04", "01/05", "07/09", "12/10", "02/11", "15/11", "20/11", "25/12"},
                 2026,
                 {"01/01", "03/04", "21/04", "01/05", "07/09", "12/10", "02/11", "15/11", "20/11", "25/12"},
                 {}},
        FillCase{"MunicipalTwentiethOfNovemberKeptBefore2024",
                 {"20/11", "31/12"},
                 2001,
                 {"01/01", "13/04", "21/04", "01/05", "07/09", "12/10", "02/11", "15/11", "20/11", "25/12"},
                 {"31/12"}}),
    [](const auto& row) { return std::string(row.param.name); });

struct YearText {
    const char* text;
    std::optional<int> year;
};

TEST(NationalHolidays, YearIsPlainDecimal) {
    const YearText cases[] = {{"2026", 2026},          {"02026", 2026},         {"1583", 1583},
                              {"9999", 9999},          {"0x7ea", std::nullopt}, {"1582", std::nullopt},
                              {"10000", std::nullopt}, {"abc", std::nullopt},   {"", std::nullopt},
                              {"+2026", std::nullopt}, {"2026 ", std::nullopt}, {"99999999999999999999", std::nullopt}};
    for (const YearText& c : cases) EXPECT_EQ(parseHolidayYear(c.text), c.year) << c.text;
}

TEST(NationalHolidays, YearOfferedTurnsInDecember) {
    EXPECT_EQ(holidayYearFor(2026, 1), 2026);
    EXPECT_EQ(holidayYearFor(2026, 11), 2026);
    EXPECT_EQ(holidayYearFor(2026, 12), 2027);
}

}  // namespace
}  // namespace quorvel
