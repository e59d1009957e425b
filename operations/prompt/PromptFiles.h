#pragma once

#include "config/PromptFile.h"

#include <string>

namespace quorvel {

enum class TPromptSourceKind { Mp3, Wav, Other };
// By the extension, whatever its case.
TPromptSourceKind ClassifyPromptSource(const std::string& Path);

// Creates an empty file of a name not in use in Folder (ending in a path
// separator), so that no other file is ever overwritten; returns its path.
// Raises std::runtime_error with the system's reason when it cannot.
std::string ReserveTemporaryPrompt(const std::string& Folder);
// True for the names ReserveTemporaryPrompt hands out.
bool IsTemporaryPromptName(const std::string& FileName);
// Removes from Folder the temporary prompts of a conversion the process did
// not live to finish; nothing else. Failures are ignored.
void RemoveLeftoverTemporaryPrompts(const std::string& Folder);

// Puts the finished prompt in place of Target in one rename, after syncing
// it, so the menu has its old prompt or the new one, never none.
void InstallPrompt(const std::string& Finished, const std::string& Target);

}  // namespace quorvel
