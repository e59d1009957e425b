#include "NationalHolidays.h"

#include <algorithm>
#include <tuple>

namespace quorvel {

namespace {

std::string twoDigits(int value) { return std::string(1, char('0' + value / 10)) + char('0' + value % 10); }

}  // namespace

DayOfYear easterSunday(int year) {
    // The anonymous Gregorian computus (Meeus/Jones/Butcher).
    const int a = year % 19;
    const int b = year / 100;
    const int c = year % 100;
    const int d = b / 4;
    const int e = b % 4;
    const int f = (b + 8) / 25;
    const int g = (b - f + 1) / 3;
    const int h = (19 * a + b - d - g + 15) % 30;
    const int i = c / 4;
    const int k = c % 4;
    const int l = (32 + 2 * e + 2 * i - h - k) % 7;
    const int m = (a + 11 * h + 22 * l) / 451;
    const int month = (h + l - 7 * m + 114) / 31;
    const int day = (h + l - 7 * m + 114) % 31 + 1;
    return {day, month};
}

DayOfYear goodFriday(int year) {
    const DayOfYear easter = easterSunday(year);
    // Easter falls between 22 March and 25 April, so only the step back
    // from April into March crosses a month.
    if (easter.day > 2) return {easter.day - 2, easter.month};
    return {31 + easter.day - 2, 3};
}

std::array<HolidayDate, kHolidayCount> nationalHolidays(int year) {
    std::array<DayOfYear, kHolidayCount> dates{};
    std::copy(kFixedNationalHolidays.begin(), kFixedNationalHolidays.end(), dates.begin());
    dates.back() = goodFriday(year);
    std::sort(dates.begin(), dates.end(), [](const DayOfYear& a, const DayOfYear& b) {
        return std::tie(a.month, a.day) < std::tie(b.month, b.day);
    });
    std::array<HolidayDate, kHolidayCount> texts;
    for (int i = 0; i < kHolidayCount; ++i) texts[i] = twoDigits(dates[i].day) + "/" + twoDigits(dates[i].month);
    return texts;
}

int holidayYearFor(int year, int month) { return month == 12 ? year + 1 : year; }

}  // namespace quorvel
