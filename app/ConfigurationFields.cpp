#include "app/ConfigurationFields.h"

#include <QCheckBox>
#include <QComboBox>

#include "app/FilteredLineEdit.h"
#include "app/MaskedEdit.h"
#include "app/QtText.h"

namespace quorvel {

namespace {

void setList(QComboBox* list, int index) {
    list->setCurrentIndex(index >= 0 && index < list->count() ? index : kNoSelection);
}

}  // namespace

DeviceConfiguration readFields(const ConfigurationFields& fields) {
    DeviceConfiguration config;
    for (int menu = 0; menu < kMenuCount; ++menu) {
        for (int option = 0; option < kOptionCount; ++option) {
            const OptionRowFields& row = fields.menus[menu][option];
            config.menus[menu][option] = {toStdString(row.x->text()), toStdString(row.y->text()), row.z->isChecked()};
        }
    }
    for (int day = 0; day < kDayKindCount; ++day) {
        for (int slot = 0; slot < kSlotCount; ++slot) {
            const SlotFields& fieldsOfSlot = fields.timetable[day][slot];
            config.timetable[day].slots[slot] = {toStdString(fieldsOfSlot.time->maskedText()),
                                                 fieldsOfSlot.menu->currentIndex()};
        }
    }
    for (int i = 0; i < kHolidayCount; ++i) config.holidays[i] = toStdString(fields.holidays[i]->maskedText());
    for (int i = 0; i < kRestrictedExtensionCount; ++i) {
        config.restrictedExtensions[i] = toStdString(fields.restrictedExtensions[i]->text());
    }
    config.accessCodes = {toStdString(fields.restoreCode->text()), toStdString(fields.password->text())};
    GeneralSettings& settings = config.settings;
    for (int i = 0; i < kSettingsListCount; ++i) {
        settingsListIndex(settings, settingsLists()[i].list) = fields.settingsLists[i]->currentIndex();
    }
    settings.lowerExtension = toStdString(fields.lowerExtension->text());
    settings.upperExtension = toStdString(fields.upperExtension->text());
    settings.greeting = fields.greeting->isChecked();
    settings.extensionEcho = fields.extensionEcho->isChecked();
    settings.extensionSupervision = fields.extensionSupervision->isChecked();
    return config;
}

void writeFields(const DeviceConfiguration& config, ConfigurationFields& fields) {
    for (int menu = 0; menu < kMenuCount; ++menu) {
        for (int option = 0; option < kOptionCount; ++option) {
            const MenuOption& value = config.menus[menu][option];
            OptionRowFields& row = fields.menus[menu][option];
            row.x->setText(toQString(value.target1));
            row.y->setText(toQString(value.target2));
            row.z->setChecked(value.flagF);
        }
    }
    for (DayKind kind : kAllDayKinds) {
        for (int slot = 0; slot < kSlotCount; ++slot) {
            const TimeSlot& value = config.day(kind).slots[slot];
            SlotFields& fieldsOfSlot = fields.day(kind)[slot];
            fieldsOfSlot.time->setMaskedText(toQString(value.time));
            setList(fieldsOfSlot.menu, value.menu);
        }
    }
    for (int i = 0; i < kHolidayCount; ++i) fields.holidays[i]->setMaskedText(toQString(config.holidays[i]));
    for (int i = 0; i < kRestrictedExtensionCount; ++i) {
        fields.restrictedExtensions[i]->setText(toQString(config.restrictedExtensions[i]));
    }
    fields.restoreCode->setText(toQString(config.accessCodes.restoreCode));
    fields.password->setText(toQString(config.accessCodes.password));
    const GeneralSettings& settings = config.settings;
    for (int i = 0; i < kSettingsListCount; ++i) {
        setList(fields.settingsLists[i], settingsListIndex(settings, settingsLists()[i].list));
    }
    fields.lowerExtension->setText(toQString(settings.lowerExtension));
    fields.upperExtension->setText(toQString(settings.upperExtension));
    fields.greeting->setChecked(settings.greeting);
    fields.extensionEcho->setChecked(settings.extensionEcho);
    fields.extensionSupervision->setChecked(settings.extensionSupervision);
}

}  // namespace quorvel
