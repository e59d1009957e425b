// The window's configuration fields, grouped as DeviceConfiguration groups
// its values, and the copies between the two.
#pragma once

#include <array>

#include "config/Catalogue.h"
#include "config/DeviceConfiguration.h"

class QCheckBox;
class QComboBox;

namespace quorvel {

class FilteredLineEdit;
class MaskedEdit;

struct OptionRowFields {
    FilteredLineEdit* x = nullptr;
    FilteredLineEdit* y = nullptr;
    QCheckBox* z = nullptr;
};

struct SlotFields {
    MaskedEdit* time = nullptr;
    QComboBox* menu = nullptr;
};

struct ConfigurationFields {
    std::array<std::array<OptionRowFields, kOptionCount>, kMenuCount> menus{};  // [menu][option digit]
    std::array<std::array<SlotFields, kSlotCount>, kDayKindCount> timetable{};  // [DayKind][slot]
    std::array<MaskedEdit*, kHolidayCount> holidays{};
    std::array<FilteredLineEdit*, kRestrictedExtensionCount> restrictedExtensions{};
    FilteredLineEdit* restoreCode = nullptr;
    FilteredLineEdit* password = nullptr;
    std::array<QComboBox*, kSettingsListCount> settingsLists{};  // in settingsLists() order
    FilteredLineEdit* lowerExtension = nullptr;
    FilteredLineEdit* upperExtension = nullptr;
    QCheckBox* greeting = nullptr;
    QCheckBox* extensionEcho = nullptr;
    QCheckBox* extensionSupervision = nullptr;

    std::array<SlotFields, kSlotCount>& day(DayKind kind) { return timetable[static_cast<int>(kind)]; }
};

DeviceConfiguration readFields(const ConfigurationFields& fields);

// Sets every field from `config`, in the order the card files are read. Each
// field that changes notifies as a user edit would (lists excepted).
void writeFields(const DeviceConfiguration& config, ConfigurationFields& fields);

}  // namespace quorvel
