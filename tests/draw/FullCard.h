// A card folder with every menu, slot and holiday filled, eleven prompts made
// by sox and three findings (20/11 is not among its holidays), written through ajustor-card like a technician would.
#pragma once

#include <string>
#include <vector>

#include "ScratchCard.h"

struct FullCard {
    std::vector<std::string> targets;   // every target text set
    std::vector<std::string> times;     // every slot time set
    std::vector<std::string> holidays;  // every holiday set
    std::string password;
};

// Whether `program` can be run from the PATH.
bool onPath(const std::string& program);

// Fills `card`; sox must be on the PATH. Fails the current test when a step fails.
FullCard makeFullCard(const ScratchCard& card);
