#include "InterruptedWrite.h"

#include <algorithm>

#include "CardFiles.h"
#include "FileReplace.h"
#include "RecordCodec.h"

namespace quorvel {

namespace {

// Every record of a kind has the same width, whatever its values.
std::size_t recordWidth(int number) {
    if (number < 100) return encodeMenuOption(MenuOption{}).size();
    if (number < kSettingsFileNumber) return encodeDaySchedule(DaySchedule{}).size();
    switch (number) {
        case kSettingsFileNumber:
            return encodeGeneralSettings(GeneralSettings{}).size();
        case kRestrictedFileNumber:
            return encodeRestrictedExtensions({}).size();
        case kAccessCodesFileNumber:
            return encodeAccessCodes(AccessCodes{}).size();
        default:
            return encodeHolidays({}).size();
    }
}

bool lengthFits(int number, std::uint64_t size) {
    return size == recordWidth(number) + kLineEnd.size() || size == initialCardFileContent(number).size();
}

}  // namespace

bool holdsCardFiles(const CardFolder& card) {
    const auto& numbers = cardFileNumbers();
    return std::any_of(numbers.begin(), numbers.end(),
                       [&card](int number) { return card.exists(cardFileName(number)); });
}

std::vector<std::string> interruptedWriteSigns(const CardFolder& card) {
    std::vector<std::string> signs;
    std::vector<std::string> names;
    if (card.fileSystem().listNames(card.folder(), names) != 0) return signs;
    for (const std::string& name : names) {
        if (isLeftoverTemporaryName(name)) signs.push_back(name);
    }
    for (int number : cardFileNumbers()) {
        const std::string name = cardFileName(number);
        const FileStatus status = card.fileSystem().status(card.cardFilePath(name));
        if (status.exists && status.regular && !lengthFits(number, status.size)) signs.push_back(name);
    }
    std::sort(signs.begin(), signs.end());
    return signs;
}

}  // namespace quorvel
