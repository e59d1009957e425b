#include "CheckCommand.h"

#include <nlohmann/json.hpp>

#include "CardCommands.h"
#include "config/CallFlowCheck.h"
#include "config/CardFolder.h"
#include "config/CardSequences.h"

namespace quorvel::card_tool {

ExitCode checkCard(const std::string& folder, std::ostream& out, std::ostream& err) {
    const CardFolder card(folder);
    DeviceConfiguration config;
    if (!loadCard(card, config, err)) return ExitCode::CardFailure;
    const std::vector<Finding> findings = checkCallFlow(config, card.folder());
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const Finding& finding : findings) {
        list.push_back({{"code", findingCodeName(finding.code)}, {"path", finding.path}, {"message", finding.message}});
    }
    const nlohmann::ordered_json report = {{"findings", std::move(list)}};
    out << report.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << '\n';
    return findings.empty() ? ExitCode::Success : ExitCode::FindingsReported;
}

}  // namespace quorvel::card_tool
