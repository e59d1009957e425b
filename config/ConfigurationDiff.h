// Every configuration value under the dotted path the command-line tool
// names it by ("menus.3.1.target1", "timetable.Seg.0.time", "holidays.2"),
// and the values that differ between two configurations.
#pragma once

#include <string>
#include <vector>

#include "DeviceConfiguration.h"
#include "FieldTable.h"

namespace quorvel {

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

// "Ring p/Atender: — → 2": the change under the field's caption, its values
// as the window shows them.
std::string describeChange(const ValueChange& change);

}  // namespace quorvel
