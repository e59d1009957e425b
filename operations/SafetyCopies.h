// The card's files as they were before a restore replaced them, one folder
// per restore under the user's data folder, the latest few kept.
#pragma once

#include <ctime>
#include <string>

namespace quorvel {

inline constexpr std::size_t kSafetyCopiesKept = 10;

// "$XDG_DATA_HOME/ajustor-quorvel/antes-da-restauracao/", or under
// "$HOME/.local/share" when XDG_DATA_HOME is unset, empty or relative.
std::string safetyCopiesFolder();

// Creates `parent` as needed and in it a new folder named after the local
// time `now` ("2026-12-09_14-05-33", with "-2", "-3"... when taken). Returns
// its path with a trailing separator, or an empty text with `error` set.
std::string createSafetyCopyFolder(const std::string& parent, std::time_t now, std::string& error);

// Removes the oldest folders of `parent` until `keep` are left.
void pruneSafetyCopies(const std::string& parent, std::size_t keep = kSafetyCopiesKept);

}  // namespace quorvel
