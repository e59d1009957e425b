// Brazil's national holidays: fixed dates and Good Friday, which follows
// Easter, and how they are filled into the card's ten holiday fields.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "DeviceConfiguration.h"

namespace quorvel {

struct DayOfYear {
    int day;
    int month;

    bool operator==(const DayOfYear&) const = default;
};

inline constexpr std::array<DayOfYear, 9> kFixedNationalHolidays = {
    {{1, 1}, {21, 4}, {1, 5}, {7, 9}, {12, 10}, {2, 11}, {15, 11}, {20, 11}, {25, 12}}};

// 20/11 has been a national holiday since this year.
inline constexpr DayOfYear kBlackConsciousnessDay{20, 11};
inline constexpr int kBlackConsciousnessFirstYear = 2024;

// The years the computus below serves: the Gregorian calendar's.
inline constexpr int kFirstHolidayYear = 1583;
inline constexpr int kLastHolidayYear = 9999;

// Easter Sunday of a Gregorian year.
DayOfYear easterSunday(int year);
// Easter Sunday less two days.
DayOfYear goodFriday(int year);

// The national dates of `year` in calendar order, each once, as the holiday
// fields hold them ("21/04"): eight to ten of them.
std::vector<HolidayDate> nationalHolidays(int year);

struct HolidayFill {
    // The national dates and the technician's own ones that fit, in calendar
    // order, then empty fields.
    std::array<HolidayDate, kHolidayCount> fields;
    // The technician's own dates left out for want of a free field, in the
    // order of the fields they were in.
    std::vector<HolidayDate> left;
};

// The national dates of `year` together with the dates of `current` that are
// not national ones: a date of a field other than a national one of `year`
// and other than Good Friday of the year before or after (an earlier fill).
HolidayFill fillNationalHolidays(const std::array<HolidayDate, kHolidayCount>& current, int year);

// A year as typed: decimal digits only, from kFirstHolidayYear to kLastHolidayYear.
std::optional<int> parseHolidayYear(std::string_view text);

// The year the window offers: the current one, the next from December on.
int holidayYearFor(int year, int month);

}  // namespace quorvel
