// "Feriados nacionais...": this year's national dates into the holiday fields.
#include <QDate>
#include <QPushButton>

#include "app/MainFormQuorvel.h"
#include "app/MaskedEdit.h"
#include "app/QtText.h"
#include "config/NationalHolidays.h"

namespace quorvel {

void TMainFormQuorvel::btFeriadosNacionaisClick() {
    const QDate today = QDate::currentDate();
    const std::optional<int> year =
        boxes_.askNumber(this, QStringLiteral("Ano dos feriados nacionais:"),
                         holidayYearFor(today.year(), today.month()), kFirstHolidayYear, kLastHolidayYear);
    if (!year) return;
    const auto dates = nationalHolidays(*year);
    // Entered as the user would type them: the change notification marks
    // the card as edited, and only "Gravar" writes them.
    for (int i = 0; i < kHolidayCount; ++i) fields_.holidays[i]->setMaskedText(toQString(dates[i]));
}

void TMainFormQuorvel::connectHolidayHandlers() {
    connect(nationalHolidaysButton_, &QPushButton::clicked, this, &TMainFormQuorvel::btFeriadosNacionaisClick);
}

}  // namespace quorvel
