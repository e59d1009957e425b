// Fixed 1-based columns of a record line, shared by every record's reader and
// writer so that a layout is stated once.
#pragma once

#include <string>
#include <string_view>

namespace quorvel {

struct Column {
    int first;  // 1-based
    int width;
};

// The part of the column that exists in `line` (possibly nothing).
inline std::string_view columnText(std::string_view line, Column column) {
    auto start = static_cast<std::size_t>(column.first - 1);
    if (start >= line.size()) return {};
    return line.substr(start, static_cast<std::size_t>(column.width));
}

// Writes `text` left-aligned into `column` of `line`, padded with blanks; a
// longer text is cut so that it can never shift the columns after it.
inline void placeText(std::string& line, Column column, std::string_view text) {
    auto end = static_cast<std::size_t>(column.first - 1 + column.width);
    if (line.size() < end) line.resize(end, ' ');
    for (int i = 0; i < column.width; ++i) {
        line[static_cast<std::size_t>(column.first - 1 + i)] =
            i < static_cast<int>(text.size()) ? text[static_cast<std::size_t>(i)] : ' ';
    }
}

inline std::string withoutAny(std::string_view text, std::string_view dropped) {
    std::string kept;
    kept.reserve(text.size());
    for (char c : text) {
        if (dropped.find(c) == std::string_view::npos) kept += c;
    }
    return kept;
}

inline std::string replacedAll(std::string text, char from, char to) {
    for (char& c : text) {
        if (c == from) c = to;
    }
    return text;
}

// A single-column number: false when the column is missing or not a digit.
inline bool digitValue(std::string_view column, int& value) {
    if (column.size() != 1 || column[0] < '0' || column[0] > '9') return false;
    value = column[0] - '0';
    return true;
}

// "1" sets the flag, "0" clears it, anything else leaves it.
inline void applyFlag(std::string_view column, bool& flag) {
    if (column == "1")
        flag = true;
    else if (column == "0")
        flag = false;
}

inline std::string_view flagText(bool flag) { return flag ? "1" : "0"; }

}  // namespace quorvel
