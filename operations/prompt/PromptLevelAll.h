// Every prompt of a card brought to the same active speech level, each one
// replaced in one rename so that a failure leaves it as it was.
#pragma once

#include "config/CardResult.h"
#include "config/FileSystem.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace quorvel {

// Prompts whose level is within this of the target are left untouched.
inline constexpr double LevelAllToleranceDb = 0.5;

struct TLevelAllOutcome {
    std::vector<std::string> Changed;    // levelled and replaced
    std::vector<std::string> Untouched;  // already on target, or silent
    std::vector<std::string> Limited;    // changed, but kept below the target by the peak limit
    // Prompt name and reason: unplayable, or not replaced; kept as it was.
    std::vector<std::pair<std::string, std::string>> Failed;
};

// Puts a finished file in place of a prompt; InstallPrompt on a card.
using TPromptInstaller = std::function<CardResult(const std::string& Finished, const std::string& Target)>;
// InstallPrompt on the real file system: the installer of a card.
CardResult InstallOnCard(const std::string& Finished, const std::string& Target);

// The names of the prompts of Folder (ending in a separator) that levelling
// would change, for the question asked before it.
std::vector<std::string> PromptsToLevel(const std::string& Folder, FileSystem& Files = realFileSystem());

// Levels every present prompt of Folder to -19 dBm0 with the peak kept at or
// below -1 dBFS; goes on past a prompt that fails. A prompt the device does
// not play, a folder of its name included, fails with the reason.
TLevelAllOutcome LevelAllPrompts(const std::string& Folder, const TPromptInstaller& Install,
                                 FileSystem& Files = realFileSystem());

}  // namespace quorvel
