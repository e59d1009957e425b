// The values that differ between two configurations, under the dotted paths
// the command-line tool names them by ("menus.3.1.target1", "holidays.2").
#pragma once

#include <string>
#include <vector>

#include "DeviceConfiguration.h"
#include "FieldTable.h"

namespace quorvel {

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
