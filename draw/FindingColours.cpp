#include "draw/FindingColours.h"

namespace quorvel {

QColor findingColour(FindingCode code) {
    switch (code) {
        // Callers reach silence or a wrong place.
        case FindingCode::EmptyMenuReference:
        case FindingCode::SlotSelectsEmptyMenu:
        case FindingCode::InvalidTarget:
        case FindingCode::MissingPrompt:
            return {200, 30, 30};
        // Part of the week or of a day answers without a menu.
        case FindingCode::SlotIncomplete:
        case FindingCode::DayWithoutSlots:
            return {225, 120, 0};
        // Work left over; callers are not affected.
        case FindingCode::UnreachableMenu:
        case FindingCode::DuplicateHoliday:
        case FindingCode::NationalHolidayMissing:
        case FindingCode::ExtensionRangeReversed:
            break;
    }
    return {30, 90, 200};
}

}  // namespace quorvel
