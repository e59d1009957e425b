#include "ConfigurationDiff.h"

#include <algorithm>

namespace quorvel {

std::vector<ValueChange> diffConfigurations(const DeviceConfiguration& from, const DeviceConfiguration& to) {
    std::vector<ValueChange> changes;
    for (const ConfigurationField& field : configurationFields()) {
        ConfigurationValue before = field.get(from);
        ConfigurationValue after = field.get(to);
        if (before != after) changes.push_back({field.path(), std::move(before), std::move(after)});
    }
    std::sort(changes.begin(), changes.end(),
              [](const ValueChange& a, const ValueChange& b) { return a.path < b.path; });
    return changes;
}

std::string describeChange(const ValueChange& change) {
    const ConfigurationField* field = findConfigurationField(change.path);
    if (!field) return change.path;
    return field->caption() + ": " + field->describe(change.from) + " → " + field->describe(change.to);
}

}  // namespace quorvel
