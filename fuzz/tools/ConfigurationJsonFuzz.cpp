// The JSON given to `apply` and `diff` may be anything: it is refused within
// the reader's limits or read into a configuration, and the holidays read
// from it fill the national dates without repeating one.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "ConfigurationInput.h"
#include "JsonFile.h"
#include "config/NationalHolidays.h"

namespace {

using namespace quorvel;
using namespace quorvel::card_tool;

void readAs(const nlohmann::ordered_json& json, JsonEntry entry) {
    DeviceConfiguration config;
    const JsonRefusals refusals = readConfigurationJson(json, entry, config);
    if (refusals.shown.size() > kShownRefusals || refusals.count < refusals.shown.size()) std::abort();
    const HolidayFill fill = fillNationalHolidays(config.holidays, 2000);
    for (std::size_t i = 0; i < fill.fields.size(); ++i) {
        for (std::size_t j = 0; j < i; ++j) {
            if (fill.fields[i] != "  /  " && fill.fields[i] == fill.fields[j]) std::abort();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::ostringstream err;
    const auto json = parseJson(text, "input.json", err);
    if (const auto* parsed = std::get_if<nlohmann::ordered_json>(&json)) {
        readAs(*parsed, JsonEntry::Typed);
        readAs(*parsed, JsonEntry::Stored);
    } else if (err.str().empty()) {
        // A refusal always says why.
        std::abort();
    }
    return 0;
}
