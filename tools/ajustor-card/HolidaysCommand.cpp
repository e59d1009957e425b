#include "HolidaysCommand.h"

#include <nlohmann/json.hpp>

#include "CardCommands.h"
#include "config/NationalHolidays.h"
#include "operations/session/CardSession.h"

namespace quorvel::card_tool {

ExitCode holidaysCard(CardSession& session, int year, std::ostream& out, std::ostream& err) {
    DeviceConfiguration config;
    if (!loadCard(session, config, err)) return ExitCode::CardFailure;
    const HolidayFill fill = fillNationalHolidays(config.holidays, year);
    // The card's own dates are kept as the card held them: the window shows
    // such a date again, so it is not checked as a typed one.
    config.holidays = fill.fields;
    const ExitCode saved = reportWrite(session.save(config, "Feriados nacionais de " + std::to_string(year)), err);
    if (saved != ExitCode::Success) return saved;
    for (const HolidayDate& date : fill.left) {
        err << std::string_view(session.folder()).substr(0, session.folder().size() - 1) << ": the holiday " << date
            << " was left out: the ten holiday fields are full\n";
    }
    out << nlohmann::ordered_json{{"holidays", fill.fields}}.dump(2) << '\n';
    return ExitCode::Success;
}

}  // namespace quorvel::card_tool
