// The file operations card I/O is made of. Production uses the POSIX calls;
// tests substitute a file system that fails chosen calls, because a test run
// as root cannot make a file unwritable with permissions.
// Calls that can fail return 0 or an errno value.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace quorvel {

struct FileStatus {
    bool exists = false;
    bool regular = false;   // a plain file, not a folder or device
    bool readOnly = false;  // no write permission bit at all, like a read-only attribute
    bool link = false;      // a symbolic link; the other fields describe what it points to
    unsigned mode = 0;      // permission bits
    std::uint64_t size = 0;
};

// The random letters and digits in a temporary file's name.
inline constexpr std::size_t kTemporaryRandomLength = 5;

class FileSystem {
public:
    virtual ~FileSystem() = default;

    virtual FileStatus status(const std::string& path) = 0;
    virtual int readAll(const std::string& path, std::string& bytes) = 0;
    // Creates `path`, which must not exist yet, and opens it for writing.
    virtual int createNew(const std::string& path, int& handle) = 0;
    // Creates a new file named `prefix`, kTemporaryRandomLength random
    // lower-case letters or digits and `suffix` in `directory` (which ends
    // with a separator) and opens it for writing.
    virtual int createTemporary(const std::string& directory, const std::string& prefix, const std::string& suffix,
                                std::string& path, int& handle) = 0;
    // Opens a plain file for reading; anything else, a symbolic link included, is refused.
    virtual int openRead(const std::string& path, int& handle) = 0;
    // Opens a plain file for reading and for writing in place; anything else is refused.
    virtual int openUpdate(const std::string& path, int& handle) = 0;
    // Reads up to `size` bytes; `got` is 0 at the end of the file.
    virtual int read(int handle, char* data, std::size_t size, std::size_t& got) = 0;
    // Reads at `offset` without moving the file position; `got` falls short
    // of `size` only at the end of the file.
    virtual int readAt(int handle, std::uint64_t offset, char* data, std::size_t size, std::size_t& got) = 0;
    virtual int write(int handle, const char* data, std::size_t size) = 0;
    virtual int writeAt(int handle, std::uint64_t offset, const char* data, std::size_t size) = 0;
    virtual int truncate(int handle, std::uint64_t size) = 0;
    virtual int size(int handle, std::uint64_t& bytes) = 0;
    virtual int setMode(int handle, unsigned mode) = 0;
    // The permission bits a newly created file gets from the process's umask.
    virtual unsigned newFileMode() = 0;
    virtual int sync(int handle) = 0;
    // Start writing the file's data to the medium, and wait until it is
    // written: a sync that follows them has only the metadata left to do, so
    // the syncs of many files share their journal commits. Hints only: a
    // failure shows in the sync that follows.
    virtual void startWriteback(int handle) = 0;
    virtual void awaitWriteback(int handle) = 0;
    virtual int close(int handle) = 0;
    virtual int rename(const std::string& from, const std::string& to) = 0;
    virtual int remove(const std::string& path) = 0;
    // Makes the renames and removals done in `directory` durable.
    virtual int syncFolder(const std::string& directory) = 0;
    // The bytes this user may still write on the file system of `directory`,
    // and the size of its allocation unit.
    virtual int freeSpace(const std::string& directory, std::uint64_t& bytes, std::uint64_t& blockSize) = 0;
    // Whether `directory` lies on a removable medium (a card in a reader),
    // whose writes must reach the medium before it may be pulled out.
    virtual bool removable(const std::string& directory) = 0;
    // Writes everything cached for the file system of `directory` to its medium.
    virtual int syncFileSystem(const std::string& directory) = 0;
    // The names of the entries of `directory`, without "." and "..".
    virtual int listNames(const std::string& directory, std::vector<std::string>& names) = 0;
};

FileSystem& realFileSystem();

}  // namespace quorvel
