// Commands that change many fields at once: the day copies and "Limpar",
// which save straight away, and the national holidays, which only fill in.
#include <QComboBox>
#include <QDate>
#include <QStringList>

#include "app/ConfigurationPart.h"
#include "app/MaskedEdit.h"
#include "app/QtText.h"
#include "config/Catalogue.h"
#include "config/NationalHolidays.h"
#include "shell/MessageBoxes.h"

namespace quorvel {

namespace {

// "24/12", "24/12 e 08/12", "24/12, 08/12 e 31/12".
QString listedDates(const std::vector<HolidayDate>& dates) {
    QStringList texts;
    for (const HolidayDate& date : dates) texts << toQString(date).trimmed();
    const QString last = texts.takeLast();
    return texts.isEmpty() ? last : texts.join(QStringLiteral(", ")) + QStringLiteral(" e ") + last;
}

}  // namespace

void ConfigurationPart::copyDay(DayKind source, std::initializer_list<DayKind> targets) {
    const auto& from = fields_.day(source);
    for (int slot = 0; slot < kSlotCount; ++slot) {
        for (DayKind target : targets) fields_.day(target)[slot].time->setMaskedText(from[slot].time->maskedText());
        for (DayKind target : targets) fields_.day(target)[slot].menu->setCurrentIndex(from[slot].menu->currentIndex());
    }
    saveFields(QString::fromUtf8("Cópia dos horários de %1").arg(toQString(std::string(dayKindName(source)))));
}

void ConfigurationPart::Label97Click() { copyDay(DayKind::Seg, {DayKind::Ter, DayKind::Qua, DayKind::Qui}); }

void ConfigurationPart::Label98Click() {
    copyDay(DayKind::Seg, {DayKind::Ter, DayKind::Qua, DayKind::Qui, DayKind::Sex});
}

void ConfigurationPart::Label99Click() { copyDay(DayKind::Dom, {DayKind::Sab, DayKind::Fer}); }

void ConfigurationPart::Label100Click() {
    copyDay(DayKind::Dom,
            {DayKind::Seg, DayKind::Ter, DayKind::Qua, DayKind::Qui, DayKind::Sex, DayKind::Sab, DayKind::Fer});
}

void ConfigurationPart::btClearClick() {
    if (!boxes_.confirm(window_, QString::fromUtf8("Deseja realmente limpar todas as configurações?"))) return;
    writeFields(DeviceConfiguration{}, fields_);
    Q_EMIT fieldsCleared();
    saveFields(QStringLiteral("Limpar"));
}

void ConfigurationPart::btFeriadosNacionaisClick() {
    const QDate today = QDate::currentDate();
    const std::optional<int> year =
        boxes_.askNumber(window_, QStringLiteral("Ano dos feriados nacionais:"),
                         holidayYearFor(today.year(), today.month()), kFirstHolidayYear, kLastHolidayYear);
    if (!year) return;
    std::array<HolidayDate, kHolidayCount> current;
    for (int i = 0; i < kHolidayCount; ++i) current[i] = toStdString(fields_.holidays[i]->maskedText());
    const HolidayFill fill = fillNationalHolidays(current, *year);
    if (!fill.left.empty()) {
        const QString dates = listedDates(fill.left);
        const QString text = fill.left.size() == 1
                                 ? QString::fromUtf8(
                                       "O feriado %1 não cabe nos dez campos junto com os nacionais e será retirado. "
                                       "Preencher os feriados nacionais assim mesmo?")
                                 : QString::fromUtf8(
                                       "Os feriados %1 não cabem nos dez campos junto com os nacionais e serão "
                                       "retirados. Preencher os feriados nacionais assim mesmo?");
        if (!boxes_.confirm(window_, text.arg(dates))) return;
    }
    // Entered as the user would type them: the change notification marks
    // the card as edited, and only "Gravar" writes them.
    for (int i = 0; i < kHolidayCount; ++i) fields_.holidays[i]->setMaskedText(toQString(fill.fields[i]));
}

}  // namespace quorvel
