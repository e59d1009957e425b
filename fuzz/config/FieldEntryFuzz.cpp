// Values typed on the command line or read from a JSON file reach the
// fields through the window's entry rules: whatever the text, a refused
// value changes nothing, an accepted one changes its own field only, and
// the value as the window then shows it is taken back unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "config/FieldEntry.h"

namespace {

using namespace quorvel;

// The text that enters `value` again: a list's item ("-1" for none), a check box's word, a text as it is.
std::string entryText(const ConfigurationField& field, const ConfigurationValue& value) {
    if (const auto* ticked = std::get_if<bool>(&value)) return *ticked ? "true" : "false";
    if (std::holds_alternative<int>(value)) {
        const std::string item = field.shownText(value);
        return item.empty() ? "-1" : item;
    }
    return std::get<std::string>(value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const auto& fields = configurationFields();
    const ConfigurationField& field = fields[(data[0] | data[1] << 8) % fields.size()];
    const std::string_view value(reinterpret_cast<const char*>(data) + 2, size - 2);

    const DeviceConfiguration before;
    DeviceConfiguration config;
    const bool accepted = enterValue(field, config, value).empty();
    DeviceConfiguration others = config;
    field.set(others, field.get(before));
    if (!(others == before) || (!accepted && !(config == before))) std::abort();
    if (!accepted) return 0;

    const DeviceConfiguration entered = config;
    if (!enterValue(field, config, entryText(field, field.get(entered))).empty() || !(config == entered)) std::abort();
    return 0;
}
