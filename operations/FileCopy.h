// One file copied into a folder so that a failure never leaves a truncated
// file under the destination name, nor replaces a good older copy. The copy
// is made in two steps, so that the syncs of many copies can share their
// journal commits.
#pragma once

#include <cstdint>
#include <string>

#include "config/FileReplace.h"
#include "config/FileSystem.h"

namespace quorvel {

// A copy written to a temporary file of the destination folder, not yet in place.
struct PendingCopy {
    Replacement file;
    std::uint64_t sourceSize = 0;
};

// What a copy does with a read-only file of the same name in the destination.
enum class ReadOnlyTarget { Refuse, Replace };

// Writes the file `source` into a temporary file of `folder`, keeping its
// permission bits where the file system can set them, and starts its
// writeback. A folder in place of `folder` + `name` is refused, and
// so is a read-only one when `readOnly` says so. Returns why the file cannot
// be copied, or an empty text with `pending` filled in.
std::string startCopy(FileSystem& fileSystem, const std::string& source, const std::string& folder,
                      const std::string& name, ReadOnlyTarget readOnly, PendingCopy& pending);

// Syncs the copy, checks that it has the source's size and renames it over
// the destination; on failure removes it. Returns why the copy failed, or an
// empty text.
std::string completeCopy(FileSystem& fileSystem, PendingCopy& pending);

// Removes the temporary file of a copy not completed.
void discardCopy(FileSystem& fileSystem, PendingCopy& pending);

}  // namespace quorvel
