// The files a backup or restore copies from a folder.
#pragma once

#include <string>
#include <vector>

#include "config/CardResult.h"
#include "config/FileSystem.h"

namespace quorvel {

// The names of the plain files directly in `folder` (which ends with a
// separator): no folders, devices, symbolic links, hidden files or the
// temporary files of a save or copy under way; read-only files included.
// Sorted by name ignoring case. Changes nothing, not even the current
// directory.
[[nodiscard]] CardResult listPlainFiles(FileSystem& fileSystem, const std::string& folder,
                                        std::vector<std::string>& names);

// Name order ignoring the case of ASCII letters; names equal but for case
// keep a fixed order.
bool caseBlindLess(const std::string& left, const std::string& right);

}  // namespace quorvel
