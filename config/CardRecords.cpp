#include "CardRecords.h"

#include "CardFiles.h"
#include "RecordCodec.h"

namespace quorvel {

void LeTxt(const CardFolder& card, std::string_view name, MenuOption& option) {
    decodeMenuOption(card.recordLine(name), option);
}

void EscreveTXT(const CardFolder& card, std::string_view name, const MenuOption& option) {
    card.writeRecord(name, encodeMenuOption(option));
}

void LeTxt2(const CardFolder& card, std::string_view name, DaySchedule& schedule) {
    decodeDaySchedule(card.recordLine(name), schedule);
}

void EscreveTXT2(const CardFolder& card, std::string_view name, const DaySchedule& schedule) {
    card.writeRecord(name, encodeDaySchedule(schedule));
}

void LeConfigs(const CardFolder& card, std::string_view name, GeneralSettings& settings) {
    decodeGeneralSettings(card.recordLine(name), settings);
}

void EscreveConfigs(const CardFolder& card, std::string_view name, const GeneralSettings& settings) {
    card.writeRecord(name, encodeGeneralSettings(settings));
}

void LeFeriado(const CardFolder& card, std::string_view name, std::array<HolidayDate, kHolidayCount>& holidays) {
    decodeHolidays(card.recordLine(name), holidays);
}

void EscreveFeriado(const CardFolder& card, std::string_view name,
                    const std::array<HolidayDate, kHolidayCount>& holidays) {
    std::string line = encodeHolidays(holidays);
    card.writeRecord(name, line);
    card.writeRecord(cardFileName(kHolidayCopyFileNumber), line);
}

void LeRestrito(const CardFolder& card, std::string_view name,
                std::array<std::string, kRestrictedExtensionCount>& extensions) {
    decodeRestrictedExtensions(card.recordLine(name), extensions);
}

void EscreveRestrito(const CardFolder& card, std::string_view name,
                     const std::array<std::string, kRestrictedExtensionCount>& extensions) {
    card.writeRecord(name, encodeRestrictedExtensions(extensions));
}

void LeRestaura(const CardFolder& card, std::string_view name, AccessCodes& codes) {
    decodeAccessCodes(card.recordLine(name), codes);
}

void EscreveRestaura(const CardFolder& card, std::string_view name, const AccessCodes& codes) {
    card.writeRecord(name, encodeAccessCodes(codes));
}

}  // namespace quorvel
