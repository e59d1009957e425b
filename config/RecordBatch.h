// Card files replaced together. Each new content goes to a temporary file of
// the card folder first, its writeback started at once; the commit waits for
// the data, syncs every file, renames them over their card files in the
// order they were added and syncs the folder once, so the syncs of one save
// share their journal commits.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "FileSystem.h"

namespace quorvel {

class RecordBatch {
public:
    RecordBatch(std::string folder, FileSystem& fileSystem);
    ~RecordBatch();
    RecordBatch(const RecordBatch&) = delete;
    RecordBatch& operator=(const RecordBatch&) = delete;

    // Writes the new content of `path`. On failure the files added before are
    // committed and CardError is thrown, so a save stops at its failing file.
    void add(const std::string& path, std::string_view bytes, unsigned mode);

    // Commits the files added so far, then throws CardError for `error`.
    [[noreturn]] void failAt(int error);

    // Throws CardError at the first file that cannot be replaced: the files
    // before it are new, it and the files after it keep their old content.
    void commit();

private:
    struct Pending {
        std::string target;
        std::string temporary;
        int handle = -1;
    };

    // The error of the first file that failed, 0 when all were replaced.
    int commitPending();
    void discardFrom(std::size_t first);

    std::string folder_;
    FileSystem* fileSystem_;
    std::vector<Pending> pending_;
};

// Temporary files of the card store are named this followed by six letters or digits.
inline constexpr std::string_view kCardTemporaryPrefix = ".quorvel-";

}  // namespace quorvel
