#include "DiskCommands.h"

#include "HelperProgram.h"

namespace quorvel::card_tool {

ExitCode listCards(std::ostream& err) { return runHelperProgram(kDiskProgram, {"cards"}, err); }

ExitCode ejectCard(const std::string& folder, std::ostream& err) {
    return runHelperProgram(kDiskProgram, {"eject", folder}, err);
}

}  // namespace quorvel::card_tool
