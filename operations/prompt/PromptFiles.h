#pragma once

#include "config/PromptFile.h"

#include <string>

#include "config/CardResult.h"
#include "config/FileSystem.h"

namespace quorvel {

enum class TPromptSourceKind { Mp3, Wav, Other };
// By the extension, whatever its case.
TPromptSourceKind ClassifyPromptSource(const std::string& Path);

// Creates an empty file of a name not in use in Folder (ending in a path
// separator), so that no other file is ever overwritten; returns its path.
// Raises std::runtime_error with the card files' error text when it cannot.
std::string ReserveTemporaryPrompt(const std::string& Folder, FileSystem& Files = realFileSystem());
// True for the names ReserveTemporaryPrompt hands out.
bool IsTemporaryPromptName(const std::string& FileName);

// The text of a converted or levelled file the device would not play.
std::string UnplayableConversionText(const std::string& Reason);

// Puts the finished prompt in place of Target in one rename through the
// card's session, after judging that the device plays it (a file it would
// not play is refused), syncing it and giving it the old prompt's permission
// bits (a new prompt gets the umask's), so the menu has its old prompt or the
// new one, never none; the card's history records Action. A failure gives
// the card files' error text.
[[nodiscard]] CardResult InstallPrompt(const std::string& Finished, const std::string& Target,
                                       FileSystem& Files = realFileSystem(), const std::string& Action = "Voz nova");

}  // namespace quorvel
