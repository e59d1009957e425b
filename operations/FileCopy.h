// One file copied into a folder so that a failure never leaves a truncated
// file under the destination name, nor replaces a good older copy. The copy
// is made in two steps, so that the syncs of many copies can share their
// journal commits.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "config/FileSystem.h"

namespace quorvel {

// The copy is written under this prefix and six random letters or digits.
inline constexpr std::string_view kCopyTemporaryPrefix = ".quorvel-copy-";

// A copy written to a temporary file of the destination folder, not yet in place.
struct PendingCopy {
    std::string target;
    std::string temporary;
    int handle = -1;
    std::uint64_t sourceSize = 0;
};

// Writes the file `source` into a temporary file of `folder`, keeping its
// permission bits, and starts its writeback. A read-only destination
// `folder` + `name` or a folder in its place is refused. Returns why the
// file cannot be copied, or an empty text with `pending` filled in.
std::string startCopy(FileSystem& fileSystem, const std::string& source, const std::string& folder,
                      const std::string& name, PendingCopy& pending);

// Syncs the copy, checks that it has the source's size and renames it over
// the destination; on failure removes it. Returns why the copy failed, or an
// empty text.
std::string completeCopy(FileSystem& fileSystem, PendingCopy& pending);

}  // namespace quorvel
