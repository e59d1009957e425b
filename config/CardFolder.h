// The card folder: where card files live and how a record line is read from
// and written to one of them.
#pragma once

#include <string>
#include <string_view>

#include "FileSystem.h"

namespace quorvel {

class CardWrite;

// `folder` with a trailing separator; an empty folder stays empty.
std::string withSeparator(std::string folder);

class CardFolder {
public:
    // `folder` gets a trailing separator when it has none.
    explicit CardFolder(std::string folder, FileSystem& fileSystem = realFileSystem());

    const std::string& folder() const { return folder_; }
    FileSystem& fileSystem() const { return *fileSystem_; }
    std::string cardFilePath(std::string_view name) const;

    // A plain file of that name exists (a folder of that name does not count).
    bool exists(std::string_view name) const;

    // The first line of the file, without its line end, as code page 1252
    // bytes. Throws CardError when the file cannot be opened or has no line.
    std::string recordLine(std::string_view name) const;

    // Replaces the whole file with `line` and CR LF, when the file exists;
    // does nothing otherwise. The old content stays intact until the new one
    // is complete on disk. Throws CardError with the write error text.
    void writeRecord(std::string_view name, std::string_view line) const;

    // The same folder, whose writeRecord adds the new content to `write`
    // instead of replacing the file at once.
    CardFolder batched(CardWrite& write) const;

    // Writes a new file with exactly `bytes`. Throws CardError.
    void createFile(std::string_view name, std::string_view bytes) const;

    // Removes the temporary files of every kind the tool makes that a killed
    // run left behind; nothing else, and failures are ignored.
    void removeLeftoverTemporaries() const;

private:
    std::string folder_;
    FileSystem* fileSystem_;
    CardWrite* batch_ = nullptr;
};

}  // namespace quorvel
