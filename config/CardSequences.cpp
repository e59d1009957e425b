#include "CardSequences.h"

#include "CardError.h"
#include "CardFiles.h"
#include "CardRecords.h"
#include "Catalogue.h"

namespace quorvel {
namespace {

std::string optionFileName(int menu, int option) { return cardFileName(optionFileNumber(menu, option)); }

void writeEveryRecord(const CardFolder& card, const DeviceConfiguration& config) {
    // Menu 0's "Não Dig" file follows its option 9; every other menu starts with it.
    for (int option = 1; option < kOptionCount; ++option) {
        EscreveTXT(card, optionFileName(0, option), config.menus[0][option]);
    }
    EscreveTXT(card, optionFileName(0, 0), config.menus[0][0]);
    for (int menu = 1; menu < kMenuCount; ++menu) {
        for (int option = 0; option < kOptionCount; ++option) {
            EscreveTXT(card, optionFileName(menu, option), config.menus[menu][option]);
        }
    }
    for (DayKind kind : kAllDayKinds) EscreveTXT2(card, cardFileName(dayFileNumber(kind)), config.day(kind));
    EscreveFeriado(card, cardFileName(kHolidayFileNumber), config.holidays);
    EscreveRestrito(card, cardFileName(kRestrictedFileNumber), config.restrictedExtensions);
    EscreveRestaura(card, cardFileName(kAccessCodesFileNumber), config.accessCodes);
    EscreveConfigs(card, cardFileName(kSettingsFileNumber), config.settings);
}

}  // namespace

CardResult ensureCardFiles(const CardFolder& card) {
    try {
        for (int number : cardFileNumbers()) {
            std::string name = cardFileName(number);
            if (!card.exists(name)) card.createFile(name, initialCardFileContent(number));
        }
    } catch (const CardError& error) {
        return error.result();
    }
    return {};
}

void addMissingFiles(const CardFolder& card, CardWrite& write) {
    for (int number : cardFileNumbers()) {
        const std::string name = cardFileName(number);
        if (!card.exists(name)) write.put(card.cardFilePath(name), initialCardFileContent(number));
    }
}

CardResult loadConfiguration(const CardFolder& card, DeviceConfiguration& config) {
    try {
        for (int menu = 0; menu < kMenuCount; ++menu) {
            for (int option = 0; option < kOptionCount; ++option) {
                LeTxt(card, optionFileName(menu, option), config.menus[menu][option]);
            }
        }
        for (DayKind kind : kAllDayKinds) LeTxt2(card, cardFileName(dayFileNumber(kind)), config.day(kind));
        LeFeriado(card, cardFileName(kHolidayFileNumber), config.holidays);
        LeRestrito(card, cardFileName(kRestrictedFileNumber), config.restrictedExtensions);
        LeRestaura(card, cardFileName(kAccessCodesFileNumber), config.accessCodes);
        LeConfigs(card, cardFileName(kSettingsFileNumber), config.settings);
    } catch (const CardError& error) {
        return error.result();
    }
    return {};
}

void addConfiguration(const CardFolder& card, const DeviceConfiguration& config, CardWrite& write) {
    writeEveryRecord(card.batched(write), config);
}

CardResult saveConfiguration(const CardFolder& card, const DeviceConfiguration& config) {
    CardWrite write(card.folder(), card.fileSystem());
    addConfiguration(card, config, write);
    return write.commit();
}

}  // namespace quorvel
