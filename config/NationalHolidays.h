// Brazil's national holidays: nine fixed dates and Good Friday, which
// follows Easter.
#pragma once

#include <array>
#include <string>

#include "DeviceConfiguration.h"

namespace quorvel {

struct DayOfYear {
    int day;
    int month;

    bool operator==(const DayOfYear&) const = default;
};

inline constexpr std::array<DayOfYear, 9> kFixedNationalHolidays = {
    {{1, 1}, {21, 4}, {1, 5}, {7, 9}, {12, 10}, {2, 11}, {15, 11}, {20, 11}, {25, 12}}};

// The years the computus below serves: the Gregorian calendar's.
inline constexpr int kFirstHolidayYear = 1583;
inline constexpr int kLastHolidayYear = 9999;

// Easter Sunday of a Gregorian year.
DayOfYear easterSunday(int year);
// Easter Sunday less two days.
DayOfYear goodFriday(int year);

// The ten dates of `year` in calendar order, as the holiday fields hold
// them ("21/04").
std::array<HolidayDate, kHolidayCount> nationalHolidays(int year);

// The year the window offers: the current one, the next from December on.
int holidayYearFor(int year, int month);

}  // namespace quorvel
