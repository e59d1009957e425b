// A backup or restore: every plain file of one folder copied into another,
// one file per step so that the caller can report progress between files.
#pragma once

#include <string>
#include <vector>

#include "config/FileSystem.h"

namespace quorvel {

struct CopyFailure {
    std::string name;
    std::string reason;

    bool operator==(const CopyFailure&) const = default;
};

class FolderCopy {
public:
    // Each folder gets a trailing separator when it has none.
    FolderCopy(std::string source, std::string destination, FileSystem& fileSystem = realFileSystem());

    // Both name the same folder, where a copy would replace every file with itself.
    bool intoItself() const;

    // Lists the source afresh. Returns 0 or an errno value.
    int list();
    const std::vector<std::string>& names() const { return names_; }
    std::string sourcePath(std::size_t index) const { return source_ + names_[index]; }

    // Copies listed file `index`; a failure is recorded and the next file can follow.
    // True when the file was copied.
    bool copy(std::size_t index);

    // Makes the renames of the copies durable; a failure is recorded
    // against the destination folder.
    void finish();

    // Files not copied, in listing order.
    const std::vector<CopyFailure>& failures() const { return failures_; }

private:
    std::string source_;
    std::string destination_;
    FileSystem* fileSystem_;
    std::vector<std::string> names_;
    std::vector<CopyFailure> failures_;
    bool copiedAny_ = false;
};

}  // namespace quorvel
