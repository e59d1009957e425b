// The blob ids of the card files recorded before, by each file's status, so
// that a record reads and hashes only the files that changed: the prompts
// are most of a card's bytes and seldom change.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <map>
#include <string>

namespace quorvel {

struct FileStamp {
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedNs = 0;
    std::int64_t changedNs = 0;
    bool operator==(const FileStamp&) const = default;
};

FileStamp stampOf(const struct stat& status);

class BlobCache {
public:
    // Loads what `file` holds; a missing or damaged file is an empty cache.
    explicit BlobCache(std::string file);

    // The blob id kept for `name` when its stamp is `stamp`, else empty.
    std::string find(const std::string& name, const FileStamp& stamp) const;
    // Keeps `blob` for the next record, unless the file was modified within
    // the last seconds before `nowNs`: another change within the file
    // system's time step (two seconds on FAT) could leave the same stamp.
    void keep(const std::string& name, const FileStamp& stamp, const std::string& blob, std::int64_t nowNs);
    // Writes what was kept in place of the file; an empty text when done.
    std::string save() const;

private:
    struct Entry {
        FileStamp stamp;
        std::string blob;
    };
    std::string file_;
    std::map<std::string, Entry> loaded_;
    std::map<std::string, Entry> kept_;
};

}  // namespace quorvel
