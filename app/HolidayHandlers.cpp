// "Feriados nacionais...": a year's national dates into the holiday fields.
#include <QDate>
#include <QPushButton>
#include <QStringList>

#include "app/MainFormQuorvel.h"
#include "app/MaskedEdit.h"
#include "app/QtText.h"
#include "config/NationalHolidays.h"

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

void TMainFormQuorvel::btFeriadosNacionaisClick() {
    const QDate today = QDate::currentDate();
    const std::optional<int> year =
        boxes_.askNumber(this, QStringLiteral("Ano dos feriados nacionais:"),
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
        if (!boxes_.confirm(this, text.arg(dates))) return;
    }
    // Entered as the user would type them: the change notification marks
    // the card as edited, and only "Gravar" writes them.
    for (int i = 0; i < kHolidayCount; ++i) fields_.holidays[i]->setMaskedText(toQString(fill.fields[i]));
}

void TMainFormQuorvel::connectHolidayHandlers() {
    connect(nationalHolidaysButton_, &QPushButton::clicked, this, &TMainFormQuorvel::btFeriadosNacionaisClick);
}

}  // namespace quorvel
