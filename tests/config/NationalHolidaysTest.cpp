#include <gtest/gtest.h>

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

TEST(NationalHolidays, TenDatesInCalendarOrderWithGoodFriday) {
    const std::array<HolidayDate, kHolidayCount> expected2026 = {"01/01", "03/04", "21/04", "01/05", "07/09",
                                                                 "12/10", "02/11", "15/11", "20/11", "25/12"};
    EXPECT_EQ(nationalHolidays(2026), expected2026);
    // Good Friday may fall after Tiradentes.
    EXPECT_EQ(nationalHolidays(2000)[1], "21/04");
    EXPECT_EQ(nationalHolidays(2000)[2], "21/04");
    EXPECT_EQ(nationalHolidays(2024)[1], "29/03");
}

TEST(NationalHolidays, YearOfferedTurnsInDecember) {
    EXPECT_EQ(holidayYearFor(2026, 1), 2026);
    EXPECT_EQ(holidayYearFor(2026, 11), 2026);
    EXPECT_EQ(holidayYearFor(2026, 12), 2027);
}

}  // namespace
}  // namespace quorvel
