// Card files replaced together. Each new content goes to a temporary file of
// the card folder first, its writeback started at once; the commit waits for
// the data, syncs every file, renames them over their card files in the
// order they were added and syncs the folder once, so the syncs of one save
// share their journal commits. A long batch commits in rounds of a few dozen
// files, so that a small FAT root folder has room for the temporaries.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "FileReplace.h"
#include "FileSystem.h"

namespace quorvel {

class RecordBatch {
public:
    RecordBatch(std::string folder, FileSystem& fileSystem);
    ~RecordBatch();
    RecordBatch(const RecordBatch&) = delete;
    RecordBatch& operator=(const RecordBatch&) = delete;

    // Writes the new content of `path`, which keeps its permission bits. On
    // failure the files added before are committed and CardError is thrown,
    // so a save stops at its failing file.
    void add(const std::string& path, std::string_view bytes);

    // Commits the files added so far, then throws CardError for `error`.
    [[noreturn]] void failAt(int error);

    // Throws CardError at the first file that cannot be replaced: the files
    // before it are new, it and the files after it keep their old content.
    void commit();

private:
    // The error of the first file that failed, 0 when all were replaced.
    // The folder is synced once, at the end of the batch.
    int commitPending();
    int syncFolderIfRenamed();
    void discardFrom(std::size_t first);

    std::string folder_;
    FileSystem* fileSystem_;
    std::vector<Replacement> pending_;
    bool renamed_ = false;  // renames not yet made durable by a folder sync
};

}  // namespace quorvel
