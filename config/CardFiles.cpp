#include "CardFiles.h"

#include <cstdio>

namespace quorvel {

std::string cardFileName(int number) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%.3d", number);
    return std::string(digits) + ".txt";
}

int optionFileNumber(int menu, int option) { return 10 * menu + option; }

int dayFileNumber(DayKind kind) { return kFirstDayFileNumber + static_cast<int>(kind); }

const std::array<int, kCardFileCount>& cardFileNumbers() {
    static const std::array<int, kCardFileCount> numbers = [] {
        std::array<int, kCardFileCount> all{};
        std::size_t next = 0;
        for (int n = 0; n < kMenuCount * kOptionCount; ++n) all[next++] = n;
        for (int n = 0; n < kDayKindCount; ++n) all[next++] = kFirstDayFileNumber + n;
        for (int n = kSettingsFileNumber; n <= kAccessCodesFileNumber; ++n) all[next++] = n;
        all[next] = kHolidayCopyFileNumber;
        return all;
    }();
    return numbers;
}

std::string initialCardFileContent(int number) {
    // The holiday line, then one empty line.
    if (number == kHolidayFileNumber)
        return std::string(defaultHolidayLine) + std::string(kLineEnd) + std::string(kLineEnd);
    // The copy holds the written holiday line, so it ends like every written line.
    if (number == kHolidayCopyFileNumber) return std::string(defaultHolidayLine) + std::string(kLineEnd);
    return std::string(kLineEnd);
}

}  // namespace quorvel
