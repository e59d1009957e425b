#include "RecordCodec.h"

#include "Catalogue.h"
#include "Columns.h"
#include "Cp1252.h"
#include "MaskedText.h"

namespace quorvel {
namespace {

// Menu-option record, 9 columns.
constexpr Column kTarget1{1, 4};
constexpr Column kTarget2{5, 4};
constexpr Column kFlagF{9, 1};

// Timetable record: four slots of hour, minutes and menu digit, 5 columns each.
constexpr int kSlotWidth = 5;
constexpr Column slotHour(int slot) { return {slot * kSlotWidth + 1, 2}; }
constexpr Column slotMinutes(int slot) { return {slot * kSlotWidth + 3, 2}; }
constexpr Column slotMenu(int slot) { return {slot * kSlotWidth + 5, 1}; }

// General-settings record, 20 columns. The digit columns are listed in the
// order the reader converts them.
struct DigitColumn {
    Column column;
    SettingsList list;
};
constexpr DigitColumn kSettingsDigits[] = {
    {{1, 1}, SettingsList::Ring},   {{2, 1}, SettingsList::Silencio}, {{5, 1}, SettingsList::Flash},
    {{6, 1}, SettingsList::Digito}, {{7, 1}, SettingsList::Pabx},     {{17, 1}, SettingsList::Toque},
    {{18, 1}, SettingsList::Res1},  {{19, 1}, SettingsList::Res2},    {{20, 1}, SettingsList::Res3},
};
constexpr Column kGreeting{3, 1};
constexpr Column kExtensionEcho{4, 1};
constexpr Column kExtensionSupervision{8, 1};
constexpr Column kLowerExtension{9, 4};
constexpr Column kUpperExtension{13, 4};

// Holiday record: ten blocks of day and month, 4 columns each.
constexpr Column holidayDay(int index) { return {index * 4 + 1, 2}; }
constexpr Column holidayMonth(int index) { return {index * 4 + 3, 2}; }
constexpr Column holidayBlock(int index) { return {index * 4 + 1, 4}; }

// Restricted-extension record: four texts of 4 columns.
constexpr Column restrictedExtension(int index) { return {index * 4 + 1, 4}; }

// Access-code record, 6 columns.
constexpr Column kRestoreCode{1, 3};
constexpr Column kPassword{4, 3};

// Text columns: the card's bytes without blanks and ";", as UTF-8.
std::string cleanText(std::string_view line, Column column) {
    return cp1252ToUtf8(withoutAny(columnText(line, column), " ;"));
}

void placeCardText(std::string& line, Column column, std::string_view text) {
    placeText(line, column, utf8ToCp1252(text));
}

int listIndex(const SettingsListInfo& info, int number) {
    int index = number - info.storedOffset;
    return index >= 0 && index < info.itemCount ? index : kNoSelection;
}

const SettingsListInfo& listInfo(SettingsList list) { return settingsLists()[static_cast<std::size_t>(list)]; }

}  // namespace

void decodeMenuOption(std::string_view line, MenuOption& option) {
    option.target1 = cleanText(line, kTarget1);
    option.target2 = cleanText(line, kTarget2);
    applyFlag(columnText(line, kFlagF), option.flagF);
}

std::string encodeMenuOption(const MenuOption& option) {
    std::string line;
    placeCardText(line, kTarget1, option.target1);
    placeCardText(line, kTarget2, option.target2);
    placeText(line, kFlagF, flagText(option.flagF));
    return line;
}

void decodeDaySchedule(std::string_view line, DaySchedule& schedule) {
    for (int slot = 0; slot < kSlotCount; ++slot) {
        TimeSlot& target = schedule.slots[static_cast<std::size_t>(slot)];
        target.time = maskedFromParts(MaskKind::Time, withoutAny(columnText(line, slotHour(slot)), " "),
                                      withoutAny(columnText(line, slotMinutes(slot)), " "));
        int menu = 0;
        target.menu = digitValue(columnText(line, slotMenu(slot)), menu) ? menu : kNoSelection;
    }
}

std::string encodeDaySchedule(const DaySchedule& schedule) {
    std::string line;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const TimeSlot& source = schedule.slots[static_cast<std::size_t>(slot)];
        std::string digits = withoutAny(applyMask(MaskKind::Time, source.time), ":");
        placeText(line, slotHour(slot), std::string_view(digits).substr(0, 2));
        placeText(line, slotMinutes(slot), std::string_view(digits).substr(2, 2));
        std::string menu = source.menu >= 0 && source.menu < kMenuCount ? std::string(1, char('0' + source.menu)) : "";
        placeText(line, slotMenu(slot), menu);
    }
    return line;
}

void decodeGeneralSettings(std::string_view line, GeneralSettings& settings) {
    // The first column that is not a digit ends the conversions: it and
    // every later one read as 0.
    bool converting = true;
    for (const DigitColumn& digit : kSettingsDigits) {
        int number = 0;
        converting = converting && digitValue(columnText(line, digit.column), number);
        settingsListIndex(settings, digit.list) = listIndex(listInfo(digit.list), converting ? number : 0);
    }
    settings.lowerExtension = cleanText(line, kLowerExtension);
    settings.upperExtension = cleanText(line, kUpperExtension);
    applyFlag(columnText(line, kGreeting), settings.greeting);
    applyFlag(columnText(line, kExtensionEcho), settings.extensionEcho);
    applyFlag(columnText(line, kExtensionSupervision), settings.extensionSupervision);
}

std::string encodeGeneralSettings(const GeneralSettings& settings) {
    std::string line;
    for (const DigitColumn& digit : kSettingsDigits) {
        int stored = settingsListIndex(settings, digit.list) + listInfo(digit.list).storedOffset;
        // An unselected list stores index -1 plus its offset; keep the column one digit whatever the index.
        if (stored < 0 || stored > 9) stored = listInfo(digit.list).storedOffset - 1;
        placeText(line, digit.column, std::string(1, char('0' + stored)));
    }
    placeText(line, kGreeting, flagText(settings.greeting));
    placeText(line, kExtensionEcho, flagText(settings.extensionEcho));
    placeText(line, kExtensionSupervision, flagText(settings.extensionSupervision));
    placeCardText(line, kLowerExtension, settings.lowerExtension);
    placeCardText(line, kUpperExtension, settings.upperExtension);
    return line;
}

void decodeHolidays(std::string_view line, std::array<HolidayDate, kHolidayCount>& holidays) {
    for (int i = 0; i < kHolidayCount; ++i) {
        holidays[static_cast<std::size_t>(i)] =
            maskedFromParts(MaskKind::Date, withoutAny(columnText(line, holidayDay(i)), " "),
                            withoutAny(columnText(line, holidayMonth(i)), " "));
    }
}

std::string encodeHolidays(const std::array<HolidayDate, kHolidayCount>& holidays) {
    std::string line;
    for (int i = 0; i < kHolidayCount; ++i) {
        placeText(line, holidayBlock(i),
                  withoutAny(applyMask(MaskKind::Date, holidays[static_cast<std::size_t>(i)]), "/"));
    }
    return line;
}

void decodeRestrictedExtensions(std::string_view line, std::array<std::string, kRestrictedExtensionCount>& extensions) {
    for (int i = 0; i < kRestrictedExtensionCount; ++i) {
        extensions[static_cast<std::size_t>(i)] = cleanText(line, restrictedExtension(i));
    }
}

std::string encodeRestrictedExtensions(const std::array<std::string, kRestrictedExtensionCount>& extensions) {
    std::string line;
    for (int i = 0; i < kRestrictedExtensionCount; ++i) {
        placeCardText(line, restrictedExtension(i), extensions[static_cast<std::size_t>(i)]);
    }
    return line;
}

// The card keeps "*" as ";" in both fields. Reading turns ";" back into "*"
// for the restore code only; in the password it reads as a blank.
void decodeAccessCodes(std::string_view line, AccessCodes& codes) {
    codes.restoreCode = cp1252ToUtf8(replacedAll(withoutAny(columnText(line, kRestoreCode), " "), ';', '*'));
    codes.password = cp1252ToUtf8(replacedAll(withoutAny(columnText(line, kPassword), " "), ';', ' '));
}

std::string encodeAccessCodes(const AccessCodes& codes) {
    std::string line;
    placeCardText(line, kRestoreCode, codes.restoreCode);
    placeCardText(line, kPassword, codes.password);
    return replacedAll(line, '*', ';');
}

}  // namespace quorvel
