// Card record lines to and from configuration values. Lines are code page
// 1252 bytes; values are UTF-8. Decoders never fail: columns that are missing
// or garbled read as empty or unselected, and flag columns holding neither
// "1" nor "0" leave the value as it was.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "DeviceConfiguration.h"

namespace quorvel {

void decodeMenuOption(std::string_view line, MenuOption& option);
std::string encodeMenuOption(const MenuOption& option);

void decodeDaySchedule(std::string_view line, DaySchedule& schedule);
std::string encodeDaySchedule(const DaySchedule& schedule);

void decodeGeneralSettings(std::string_view line, GeneralSettings& settings);
std::string encodeGeneralSettings(const GeneralSettings& settings);

void decodeHolidays(std::string_view line, std::array<HolidayDate, kHolidayCount>& holidays);
std::string encodeHolidays(const std::array<HolidayDate, kHolidayCount>& holidays);

void decodeRestrictedExtensions(std::string_view line, std::array<std::string, kRestrictedExtensionCount>& extensions);
std::string encodeRestrictedExtensions(const std::array<std::string, kRestrictedExtensionCount>& extensions);

void decodeAccessCodes(std::string_view line, AccessCodes& codes);
std::string encodeAccessCodes(const AccessCodes& codes);

}  // namespace quorvel
