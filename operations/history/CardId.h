// Which history a card folder belongs to.
#pragma once

#include <string>

namespace quorvel {

// The file system's UUID when `folder` is the root of a removable volume, so
// the card keeps its history in any reader and at any mount point; otherwise
// "pasta-" and a hash of the folder's real path, so that one folder reached
// by two paths has one history. `systemRoot` prefixes /proc, /dev and /sys
// (tests).
std::string cardId(const std::string& folder, const std::string& systemRoot = "");

// The source device of the mount whose mount point is `mountPoint`, read from
// the text of /proc/self/mountinfo; empty when nothing is mounted there.
std::string mountSource(const std::string& mountinfo, const std::string& mountPoint);

}  // namespace quorvel
