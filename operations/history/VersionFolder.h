// A version of a card's history as a folder, so that it is compared with a
// card and restored into one as any backup folder is.
#pragma once

#include <string>

namespace quorvel {

class VersionFolder {
public:
    VersionFolder() = default;
    ~VersionFolder();
    VersionFolder(const VersionFolder&) = delete;
    VersionFolder& operator=(const VersionFolder&) = delete;

    // Writes the files of version `rev` (as CardHistory::resolve takes it) of
    // the card folder `card` into a new temporary folder, after removing the
    // one held before. Returns an empty text when done, else why not.
    std::string materialise(const std::string& card, const std::string& rev);

    // The folder, ending with a separator; empty before a materialise.
    const std::string& path() const { return path_; }
    // The full id of the version it holds.
    const std::string& version() const { return version_; }

private:
    void remove();

    std::string path_;
    std::string version_;
};

}  // namespace quorvel
