// One file copied into a folder so that a failure never leaves a truncated
// file under the destination name, nor replaces a good older copy.
#pragma once

#include <string>
#include <string_view>

#include "config/FileSystem.h"

namespace quorvel {

// The copy is written under this prefix and six random letters or digits.
inline constexpr std::string_view kCopyTemporaryPrefix = ".quorvel-copy-";

// Copies the file `source` to `folder` + `name`, keeping its permission
// bits: into a temporary file of `folder` first, synced and checked to have
// the source's size, then renamed over the destination. A read-only
// destination or a folder in its place is refused. Returns an empty text on
// success, otherwise why the file was not copied.
std::string copyFileInto(FileSystem& fileSystem, const std::string& source, const std::string& folder,
                         const std::string& name);

}  // namespace quorvel
