// The card's file set: names, numbers and the initial contents written when a
// file is missing at start-up.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "DeviceConfiguration.h"

namespace quorvel {

constexpr int kCardFileCount = 113;
constexpr int kSettingsFileNumber = 220;
constexpr int kHolidayFileNumber = 221;
constexpr int kRestrictedFileNumber = 222;
constexpr int kAccessCodesFileNumber = 223;
constexpr int kHolidayCopyFileNumber = 421;
constexpr int kFirstDayFileNumber = 200;

// The 40 columns of a new holiday file: holidays 1 and 2 empty, then eight fixed dates.
inline constexpr std::string_view defaultHolidayLine = "        01012104010507091210021115112512";
inline constexpr std::string_view kLineEnd = "\r\n";

// "%.3d" followed by ".txt": 7 gives "007.txt".
std::string cardFileName(int number);
int optionFileNumber(int menu, int option);
int dayFileNumber(DayKind kind);

// Every card file number in creation order: 0-99, 200-207, 220-223, 421.
const std::array<int, kCardFileCount>& cardFileNumbers();

// Bytes written into a card file created at start-up.
std::string initialCardFileContent(int number);

}  // namespace quorvel
