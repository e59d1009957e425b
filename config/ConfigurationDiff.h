// Every configuration value under the dotted path the command-line tool
// names it by ("menus.3.1.target1", "timetable.Seg.0.time", "holidays.2"),
// and the values that differ between two configurations.
#pragma once

#include <string>
#include <variant>
#include <vector>

#include "DeviceConfiguration.h"

namespace quorvel {

// A text, a list's item index, or a check box.
using ConfigurationValue = std::variant<std::string, int, bool>;

struct NamedValue {
    std::string path;
    ConfigurationValue value;
};

// Every value, in the order `ajustor-card show` prints them.
std::vector<NamedValue> configurationValues(const DeviceConfiguration& config);

struct ValueChange {
    std::string path;
    ConfigurationValue from;
    ConfigurationValue to;

    bool operator==(const ValueChange&) const = default;
};

// The values `to` holds differently from `from`, ordered by path.
std::vector<ValueChange> diffConfigurations(const DeviceConfiguration& from, const DeviceConfiguration& to);

// The value as the window would show it in a list: texts in quotes, list
// items and check boxes as words.
std::string describeValue(const ConfigurationValue& value);

}  // namespace quorvel
