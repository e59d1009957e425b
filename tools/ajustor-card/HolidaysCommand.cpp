#include "HolidaysCommand.h"

#include <nlohmann/json.hpp>

#include "CardCommands.h"
#include "config/CardError.h"
#include "config/CardFolder.h"
#include "config/CardSequences.h"
#include "config/NationalHolidays.h"

namespace quorvel::card_tool {

ExitCode holidaysCard(const std::string& folder, int year, std::ostream& out, std::ostream& err) {
    const CardFolder card(folder);
    DeviceConfiguration config;
    if (!loadCard(card, config, err)) return ExitCode::CardFailure;
    const HolidayFill fill = fillNationalHolidays(config.holidays, year);
    // The card's own dates are kept as the card held them: the window shows
    // such a date again, so it is not checked as a typed one.
    config.holidays = fill.fields;
    try {
        saveConfiguration(card, config);
    } catch (const CardError& error) {
        return reportCardError(error, err);
    }
    for (const HolidayDate& date : fill.left) {
        err << folder << ": the holiday " << date << " was left out: the ten holiday fields are full\n";
    }
    out << nlohmann::ordered_json{{"holidays", fill.fields}}.dump(2) << '\n';
    return ExitCode::Success;
}

}  // namespace quorvel::card_tool
