// Dotted paths naming one configuration value, in the names `show` prints:
// "menus.3.1.target1", "timetable.Seg.0.time", "settings.pabxType".
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "config/DeviceConfiguration.h"

namespace quorvel::card_tool {

// The window field kinds a value can be entered into; each has its own entry rules.
enum class FieldKind {
    OptionTarget,  // x and y option fields
    Extension,     // restricted extensions, lower and upper extension
    Password,
    RestoreCode,
    Time,
    Date,
    List,  // a timetable menu list or a general-settings list
    CheckBox,
};

// Where a resolved path's value lives in the configuration: `text` for the
// edits and masked edits, `index` for the lists, `ticked` for check boxes.
struct FieldRef {
    FieldKind kind;
    std::string* text = nullptr;
    int* index = nullptr;
    bool* ticked = nullptr;
    int itemCount = 0;  // lists only
};

// The field `path` names in `config`; nothing when no such field exists.
std::optional<FieldRef> resolveFieldPath(DeviceConfiguration& config, std::string_view path);

}  // namespace quorvel::card_tool
