// A backup or restore: every plain file of one folder copied into another,
// one file per step so that the caller can report progress between files.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "config/CardResult.h"
#include "config/FileSystem.h"
#include "operations/FileCopy.h"

namespace quorvel {

struct CopyFailure {
    std::string name;
    std::string reason;

    bool operator==(const CopyFailure&) const = default;
};

class FolderCopy {
public:
    // Each folder gets a trailing separator when it has none. A backup
    // replaces its own read-only copies; a restore into the card leaves
    // read-only card files alone, as a save does.
    FolderCopy(std::string source, std::string destination, ReadOnlyTarget readOnly,
               FileSystem& fileSystem = realFileSystem());
    ~FolderCopy();
    FolderCopy(const FolderCopy&) = delete;
    FolderCopy& operator=(const FolderCopy&) = delete;

    // Called with the name of each file once its copy is in place.
    void onCopied(std::function<void(const std::string&)> copied) { copied_ = std::move(copied); }

    // Both name the same folder, where a copy would replace every file with itself.
    bool intoItself() const;

    // Lists the source afresh and removes the leftovers of killed copies
    // from the destination.
    [[nodiscard]] CardResult list();
    const std::vector<std::string>& names() const { return names_; }
    std::string sourcePath(std::size_t index) const { return source_ + names_[index]; }

    // Copies listed file `index`. Copies are put in place a few megabytes at
    // a time, so one sync round covers many small files; a failure is
    // recorded and the next file can follow.
    void copy(std::size_t index);

    // Puts the copies still pending in place and syncs the destination
    // folder; a failure of that sync is recorded against the folder.
    void finish();

    // Files not copied, in listing order.
    const std::vector<CopyFailure>& failures() const { return failures_; }

private:
    struct Pending {
        std::size_t index;
        PendingCopy copy;
    };

    void settle();
    void fail(std::size_t index, std::string reason);

    std::string source_;
    std::string destination_;
    ReadOnlyTarget readOnly_;
    FileSystem* fileSystem_;
    std::function<void(const std::string&)> copied_;
    std::vector<std::string> names_;
    std::vector<Pending> pending_;
    std::uint64_t pendingBytes_ = 0;
    std::vector<std::size_t> failedIndexes_;
    std::vector<CopyFailure> failures_;
    bool copiedAny_ = false;
};

}  // namespace quorvel
