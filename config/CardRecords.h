// The readers and writers of the card's record files. Each reads or writes
// one named file of the card folder; errors are raised as CardError.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "CardFolder.h"
#include "DeviceConfiguration.h"

namespace quorvel {

void LeTxt(const CardFolder& card, std::string_view name, MenuOption& option);
void EscreveTXT(const CardFolder& card, std::string_view name, const MenuOption& option);

void LeTxt2(const CardFolder& card, std::string_view name, DaySchedule& schedule);
void EscreveTXT2(const CardFolder& card, std::string_view name, const DaySchedule& schedule);

void LeConfigs(const CardFolder& card, std::string_view name, GeneralSettings& settings);
void EscreveConfigs(const CardFolder& card, std::string_view name, const GeneralSettings& settings);

void LeFeriado(const CardFolder& card, std::string_view name, std::array<HolidayDate, kHolidayCount>& holidays);
// Writes the named file, then the same line into "421.txt"; either is skipped when missing.
void EscreveFeriado(const CardFolder& card, std::string_view name,
                    const std::array<HolidayDate, kHolidayCount>& holidays);

void LeRestrito(const CardFolder& card, std::string_view name,
                std::array<std::string, kRestrictedExtensionCount>& extensions);
void EscreveRestrito(const CardFolder& card, std::string_view name,
                     const std::array<std::string, kRestrictedExtensionCount>& extensions);

void LeRestaura(const CardFolder& card, std::string_view name, AccessCodes& codes);
void EscreveRestaura(const CardFolder& card, std::string_view name, const AccessCodes& codes);

}  // namespace quorvel
