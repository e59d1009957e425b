// The device's whole configuration: every value always exists, possibly empty.
// Texts are UTF-8 here; the card stores them in code page 1252.
#pragma once

#include <array>
#include <string>

namespace quorvel {

constexpr int kMenuCount = 10;
constexpr int kOptionCount = 10;
constexpr int kDayKindCount = 8;
constexpr int kSlotCount = 4;
constexpr int kHolidayCount = 10;
constexpr int kRestrictedExtensionCount = 4;

// No item selected in a drop-down list.
constexpr int kNoSelection = -1;

// The masked fields' empty forms.
inline constexpr const char* kEmptyTime = "  :  ";
inline constexpr const char* kEmptyDate = "  /  ";

// One option row of one voice menu; option digit 0 is the row "Não Dig".
struct MenuOption {
    std::string target1;
    std::string target2;
    bool flagF = false;

    bool operator==(const MenuOption&) const = default;
};

// In card-file order: "200.txt" is Fer, "207.txt" is Sab.
enum class DayKind { Fer, Dom, Seg, Ter, Qua, Qui, Sex, Sab };

struct TimeSlot {
    std::string time = kEmptyTime;  // as the masked field shows it: " 8:30", "08:30"
    int menu = kNoSelection;        // 0-9 selects "Menu 0" ... "Menu 9"

    bool operator==(const TimeSlot&) const = default;
};

struct DaySchedule {
    std::array<TimeSlot, kSlotCount> slots;  // slot 1 is index 0

    bool operator==(const DaySchedule&) const = default;
};

// Day, "/", month as the masked field shows it: "25/12", "  /  ".
using HolidayDate = std::string;

struct GeneralSettings {
    // Drop-down lists, held as the selected item index.
    int ringsToAnswer = kNoSelection;
    int ddcSilence = kNoSelection;
    int flashTime = kNoSelection;
    int digitCount = kNoSelection;
    int pabxType = kNoSelection;
    int noAnswerRings = kNoSelection;
    int reserved1 = kNoSelection;
    int reserved2 = kNoSelection;
    int reserved3 = kNoSelection;
    std::string lowerExtension;
    std::string upperExtension;
    bool greeting = false;
    bool extensionEcho = false;
    bool extensionSupervision = false;

    bool operator==(const GeneralSettings&) const = default;
};

struct AccessCodes {
    std::string restoreCode;
    std::string password;

    bool operator==(const AccessCodes&) const = default;
};

// Default-constructed, it is the window's initial state: every text empty,
// every list unselected, every box unticked, masked fields in their empty form.
struct DeviceConfiguration {
    std::array<std::array<MenuOption, kOptionCount>, kMenuCount> menus{};  // [menu][option digit]
    std::array<DaySchedule, kDayKindCount> timetable{};                    // [DayKind]
    std::array<HolidayDate, kHolidayCount> holidays = filledHolidays();
    std::array<std::string, kRestrictedExtensionCount> restrictedExtensions{};
    AccessCodes accessCodes;
    GeneralSettings settings;

    DaySchedule& day(DayKind kind) { return timetable[static_cast<int>(kind)]; }
    const DaySchedule& day(DayKind kind) const { return timetable[static_cast<int>(kind)]; }

    bool operator==(const DeviceConfiguration&) const = default;

private:
    static std::array<HolidayDate, kHolidayCount> filledHolidays() {
        std::array<HolidayDate, kHolidayCount> dates;
        dates.fill(kEmptyDate);
        return dates;
    }
};

}  // namespace quorvel
