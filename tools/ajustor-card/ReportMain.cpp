// ajustor-card-report DIR OUT: the card report of `ajustor-card report`,
// which starts this program with the arguments it has checked.
#include <cstdlib>
#include <iostream>

#include "ReportCommand.h"

using namespace quorvel::card_tool;

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: ajustor-card report DIR OUT\n";
        return toStatus(ExitCode::Usage);
    }
    // The report needs no display: a platform chosen for the user's desktop
    // (xcb without an X server, say) would abort the program.
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    return toStatus(reportCard(argv[1], argv[2], std::cerr));
}
