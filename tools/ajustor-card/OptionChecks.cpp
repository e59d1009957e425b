#include "OptionChecks.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "config/NationalHolidays.h"

namespace quorvel::card_tool {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Digits with at most one "." among them, and at least one digit.
bool isPlainDecimal(const std::string& text) {
    const auto dots = std::count(text.begin(), text.end(), '.');
    const auto digits = std::count_if(text.begin(), text.end(), isDigit);
    return dots <= 1 && digits > 0 && dots + digits == static_cast<long>(text.size());
}

}  // namespace

CLI::Validator waitSeconds() {
    const std::string expected = "takes seconds from 0 to " + std::to_string(kMaxWaitSeconds);
    return CLI::Validator(
        [expected](std::string& text) -> std::string {
            if (!isPlainDecimal(text) || std::strtod(text.c_str(), nullptr) > kMaxWaitSeconds) {
                return expected + ", not \"" + text + "\"";
            }
            return {};
        },
        "0 to " + std::to_string(kMaxWaitSeconds));
}

CLI::Validator holidayYear() {
    return CLI::Validator(
        [](std::string& text) -> std::string {
            if (text.empty() || !std::all_of(text.begin(), text.end(), isDigit)) {
                return "\"" + text + "\" is not a year: give it in decimal digits, such as 2026";
            }
            const std::optional<int> year = parseHolidayYear(text);
            if (!year) {
                return text + " is outside the years " + std::to_string(kFirstHolidayYear) + " to " +
                       std::to_string(kLastHolidayYear);
            }
            text = std::to_string(*year);
            return {};
        },
        std::to_string(kFirstHolidayYear) + " to " + std::to_string(kLastHolidayYear));
}

}  // namespace quorvel::card_tool
