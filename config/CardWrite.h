// The files of one write of a card folder, replaced all together or not at
// all. Nothing touches the card until commit: it leaves out the files that
// already hold their new content, checks the free space, writes every other
// content to a temporary file beside its target, syncs them all and only then
// renames them over their targets in the order they were added, syncing the
// folder once. A failure before the first rename removes the temporaries; a
// failure during the renames puts back the files already renamed from the
// content they held before. The result says which.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "CardResult.h"
#include "FileReplace.h"
#include "FileSystem.h"

namespace quorvel {

class CardWrite {
public:
    // `folder` ends with a separator; every path given below lies in it.
    CardWrite(std::string folder, FileSystem& fileSystem);
    ~CardWrite();
    CardWrite(const CardWrite&) = delete;
    CardWrite& operator=(const CardWrite&) = delete;

    // `path` gets `bytes`.
    void put(const std::string& path, std::string bytes);
    // `path` gets the content of the file `source`, read at commit.
    void copy(const std::string& path, std::string source);
    // `temporary`, a finished file of the folder such as a converted prompt,
    // is renamed over `path`. It is removed if the write fails.
    void adopt(const std::string& path, std::string temporary);
    // The write fails at `path` with `error` (a read-only card file).
    void refuse(const std::string& path, int error);

    // Told before each new content is written (its position, the number of
    // files and the file it comes from) and after, with the target's name.
    using Starting = std::function<void(std::size_t index, std::size_t count, const std::string& source)>;
    void onProgress(Starting starting, std::function<void(const std::string&)> written) {
        starting_ = std::move(starting);
        written_ = std::move(written);
    }

    bool empty() const { return files_.empty() && !refusal_; }
    // The targets' names within the folder, in order.
    std::vector<std::string> names() const;
    std::uint64_t bytesNeeded(std::uint64_t blockSize) const;

    CardResult commit();

private:
    enum class Source { Bytes, Copy, Adopted };
    struct File {
        std::string path;
        Source source = Source::Bytes;
        std::string bytes;                    // the content, or the path it is copied or adopted from
        std::optional<std::string> previous;  // what the target held, to put it back
        bool existed = false;
        bool unchanged = false;  // already holds its new content: not replaced
        Replacement replacement;
    };
    struct Refusal {
        std::string path;
        int error = 0;
    };

    void add(const std::string& path, Source source, std::string bytes);
    CardResult checkSpace() const;
    // Removes every temporary; the card is as it was.
    CardResult failBeforeRenames(int error, std::string path);
    // Reads what the target holds and whether it already holds the new content.
    int compareWithTarget(File& file);
    int writeTemporary(File& file);
    // Hands the content of the file `path` to `take` block by block.
    int readSource(const std::string& path, const std::function<int(const char*, std::size_t)>& take);
    // Puts back the first `renamed` files; the state the card is left in.
    CardState undoRenames(std::size_t renamed, std::string& lost);
    void discardAll();

    std::string folder_;
    FileSystem* fileSystem_;
    std::vector<File> files_;
    std::optional<Refusal> refusal_;
    Starting starting_;
    std::function<void(const std::string&)> written_;
};

}  // namespace quorvel
