// Commands that change many fields at once and save straight away.
#include <QComboBox>

#include "app/MainFormQuorvel.h"
#include "app/MaskedEdit.h"
#include "app/QtText.h"
#include "config/Catalogue.h"
#include "shell/MessageBoxes.h"

namespace quorvel {

void TMainFormQuorvel::copyDay(DayKind source, std::initializer_list<DayKind> targets) {
    const auto& from = fields_.day(source);
    for (int slot = 0; slot < kSlotCount; ++slot) {
        for (DayKind target : targets) fields_.day(target)[slot].time->setMaskedText(from[slot].time->maskedText());
        for (DayKind target : targets) fields_.day(target)[slot].menu->setCurrentIndex(from[slot].menu->currentIndex());
    }
    saveFields(QString::fromUtf8("Cópia dos horários de %1").arg(toQString(std::string(dayKindName(source)))));
}

void TMainFormQuorvel::Label97Click() { copyDay(DayKind::Seg, {DayKind::Ter, DayKind::Qua, DayKind::Qui}); }

void TMainFormQuorvel::Label98Click() {
    copyDay(DayKind::Seg, {DayKind::Ter, DayKind::Qua, DayKind::Qui, DayKind::Sex});
}

void TMainFormQuorvel::Label99Click() { copyDay(DayKind::Dom, {DayKind::Sab, DayKind::Fer}); }

void TMainFormQuorvel::Label100Click() {
    copyDay(DayKind::Dom,
            {DayKind::Seg, DayKind::Ter, DayKind::Qua, DayKind::Qui, DayKind::Sex, DayKind::Sab, DayKind::Fer});
}

void TMainFormQuorvel::btClearClick() {
    if (!boxes_.confirm(this, QString::fromUtf8("Deseja realmente limpar todas as configurações?"))) return;
    writeFields(DeviceConfiguration{}, fields_);
    convertPage_.promptList->setCurrentIndex(kNoSelection);
    saveFields(QStringLiteral("Limpar"));
}

}  // namespace quorvel
