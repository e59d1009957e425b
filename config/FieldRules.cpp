#include "FieldRules.h"
#include "AsciiDigit.h"

namespace quorvel {
namespace {

std::string withoutChars(std::string_view text, std::string_view dropped) {
    std::string kept;
    for (char c : text) {
        if (dropped.find(c) == std::string_view::npos) kept += c;
    }
    return kept;
}

// Reads numbers and separators the way the toolkit converts a time or date
// text: blanks may stand before any number or separator.
class NumberScanner {
public:
    explicit NumberScanner(std::string_view text) : text_(text) {}

    bool number(int& value) {
        skipBlanks();
        int digits = 0;
        value = 0;
        while (pos_ < text_.size() && isAsciiDigit(static_cast<unsigned char>(text_[pos_])) && digits < 4) {
            value = value * 10 + (text_[pos_] - '0');
            ++pos_;
            ++digits;
        }
        return digits > 0;
    }

    bool separator(char c) {
        skipBlanks();
        if (pos_ < text_.size() && text_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }

    bool atEnd() {
        skipBlanks();
        return pos_ == text_.size();
    }

private:
    void skipBlanks() {
        while (pos_ < text_.size() && text_[pos_] == ' ') ++pos_;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
};

bool isValidTimeOfDay(std::string_view text) {
    NumberScanner scan(text);
    int hour = 0, minute = 0, second = 0;
    if (!scan.number(hour) || !scan.separator(':') || !scan.number(minute)) return false;
    if (scan.separator(':') && !scan.number(second)) return false;
    return scan.atEnd() && hour < 24 && minute < 60 && second < 60;
}

bool isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

bool isValidDate(std::string_view text) {
    NumberScanner scan(text);
    int day = 0, month = 0, year = 0;
    if (!scan.number(day) || !scan.separator('/') || !scan.number(month) || !scan.separator('/') ||
        !scan.number(year) || !scan.atEnd()) {
        return false;
    }
    static constexpr int kDaysInMonth[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < 1 || month < 1 || month > 12 || day < 1) return false;
    int last = kDaysInMonth[month - 1] + (month == 2 && isLeapYear(year) ? 1 : 0);
    return day <= last;
}

}  // namespace

bool keyAccepted(KeyFilter filter, char32_t key) {
    if (key == static_cast<char32_t>(kBackspace) || isAsciiDigit(key)) return true;
    switch (filter) {
        case KeyFilter::Option:
            return key == '#' || key == '*' || key == 'M' || key == 'm';
        case KeyFilter::RestoreCode:
            return key == '#' || key == '*';
        case KeyFilter::Digit:
            break;
    }
    return false;
}

std::string filterText(KeyFilter filter, std::string_view text) {
    std::string kept;
    for (char c : text) {
        auto key = static_cast<unsigned char>(c);
        if (key == static_cast<unsigned char>(kBackspace) || !keyAccepted(filter, key)) continue;
        kept += (filter == KeyFilter::Option && c == 'm') ? 'M' : c;
    }
    return kept;
}

std::optional<std::string> checkMenuReference(std::string_view text) {
    std::string trimmed = withoutChars(text, " ");
    if (trimmed.empty() || trimmed[0] != 'M') return std::nullopt;
    if (trimmed.size() >= 3 || trimmed.size() == 1 || trimmed == "MM") return std::string(kMenuRangeMessage);
    return std::nullopt;
}

std::optional<std::string> checkTime(std::string_view text) {
    if (withoutChars(text, ": ").empty()) return std::nullopt;
    if (isValidTimeOfDay(std::string(text) + ":00")) return std::nullopt;
    return std::string(kInvalidTimeMessage);
}

std::optional<std::string> checkDate(std::string_view text) {
    if (withoutChars(text, "/ ").empty()) return std::nullopt;
    if (isValidDate(std::string(text) + "/2015")) return std::nullopt;
    return std::string(kInvalidDateMessage);
}

std::vector<std::string> checkStarPosition(std::string_view text) {
    std::vector<std::string> messages;
    if (text.size() >= 2 && text[1] == '*') messages.emplace_back(kStarPositionMessage);
    if (text.size() >= 3 && text[2] == '*') messages.emplace_back(kStarPositionMessage);
    return messages;
}

}  // namespace quorvel
