#include "NationalHolidays.h"

#include <algorithm>
#include <tuple>

#include "MaskedText.h"

namespace quorvel {

namespace {

std::string twoDigits(int value) { return std::string(1, char('0' + value / 10)) + char('0' + value % 10); }

std::string dateText(const DayOfYear& date) { return twoDigits(date.day) + "/" + twoDigits(date.month); }

bool calendarOrder(const DayOfYear& a, const DayOfYear& b) {
    return std::tie(a.month, a.day) < std::tie(b.month, b.day);
}

bool isEmptyField(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c == ' ' || c == '/'; });
}

// The day and month of a field's text: up to two digits on each side of
// "/", blanks aside, as the card's reader or the field's mask leave them.
std::optional<DayOfYear> fieldDate(std::string_view text) {
    const std::size_t slash = text.find('/');
    if (slash == std::string_view::npos) return std::nullopt;
    const auto number = [](std::string_view part) -> std::optional<int> {
        int value = 0;
        int digits = 0;
        for (char c : part) {
            if (c == ' ') continue;
            if (c < '0' || c > '9' || ++digits > 2) return std::nullopt;
            value = value * 10 + (c - '0');
        }
        if (digits == 0) return std::nullopt;
        return value;
    };
    const auto day = number(text.substr(0, slash));
    const auto month = number(text.substr(slash + 1));
    if (!day || !month) return std::nullopt;
    return DayOfYear{*day, *month};
}

struct Entry {
    HolidayDate text;
    std::optional<DayOfYear> date;  // none when the text is not a date
};

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

std::vector<HolidayDate> nationalHolidays(int year) {
    std::vector<DayOfYear> dates;
    for (const DayOfYear& date : kFixedNationalHolidays) {
        if (date == kBlackConsciousnessDay && year < kBlackConsciousnessFirstYear) continue;
        dates.push_back(date);
    }
    // In some years Good Friday falls on Tiradentes (21/04).
    if (std::find(dates.begin(), dates.end(), goodFriday(year)) == dates.end()) dates.push_back(goodFriday(year));
    std::sort(dates.begin(), dates.end(), calendarOrder);
    std::vector<HolidayDate> texts;
    for (const DayOfYear& date : dates) texts.push_back(dateText(date));
    return texts;
}

HolidayFill fillNationalHolidays(const std::array<HolidayDate, kHolidayCount>& current, int year) {
    std::vector<Entry> entries;
    for (const HolidayDate& text : nationalHolidays(year)) entries.push_back({text, fieldDate(text)});
    const auto replaced = [year](const std::optional<DayOfYear>& date) {
        return date && (*date == goodFriday(year - 1) || *date == goodFriday(year + 1));
    };
    HolidayFill fill;
    std::vector<Entry> left;
    for (const HolidayDate& text : current) {
        if (isEmptyField(text)) continue;
        const Entry own{text, fieldDate(text)};
        const auto same = [&own](const Entry& entry) {
            return own.date ? entry.date == own.date : entry.text == own.text;
        };
        const bool listed =
            std::any_of(entries.begin(), entries.end(), same) || std::any_of(left.begin(), left.end(), same);
        if (listed || replaced(own.date)) continue;
        if (entries.size() < static_cast<std::size_t>(kHolidayCount)) {
            entries.push_back(own);
        } else {
            left.push_back(own);
            fill.left.push_back(text);
        }
    }
    // Dates that cannot be read keep their place after the readable ones.
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        if (!a.date || !b.date) return a.date && !b.date;
        return calendarOrder(*a.date, *b.date);
    });
    for (std::size_t i = 0; i < fill.fields.size(); ++i) {
        fill.fields[i] = i < entries.size() ? entries[i].text : emptyMaskedText(MaskKind::Date);
    }
    return fill;
}

std::optional<int> parseHolidayYear(std::string_view text) {
    if (text.empty()) return std::nullopt;
    int year = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        // Past the last year the value stops growing; leading zeros are read as such.
        year = std::min(year * 10 + (c - '0'), kLastHolidayYear + 1);
    }
    if (year < kFirstHolidayYear || year > kLastHolidayYear) return std::nullopt;
    return year;
}

int holidayYearFor(int year, int month) { return month == 12 ? year + 1 : year; }

}  // namespace quorvel
