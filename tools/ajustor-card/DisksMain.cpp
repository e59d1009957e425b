// ajustor-card-disks cards | eject DIR: the disk commands of ajustor-card,
// which starts this program with the arguments it has checked.
#include <QCoreApplication>
#include <iostream>
#include <string>

#include "CardsCommand.h"

using namespace quorvel::card_tool;

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    const quorvel::RemovableCards cards;
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "cards" && argc == 2) return toStatus(printCards(cards, std::cout, std::cerr));
    if (command == "eject" && argc == 3) return toStatus(ejectCard(cards, argv[2], std::cout, std::cerr));
    std::cerr << "usage: ajustor-card cards | ajustor-card eject DIR\n";
    return toStatus(ExitCode::Usage);
}
