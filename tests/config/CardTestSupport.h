// Temporary card folders and a file system that fails chosen calls.
#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "config/FileSystem.h"

namespace quorvel::testing {

class TemporaryFolder {
public:
    TemporaryFolder();
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string folder() const { return path_.string() + "/"; }

    void write(const std::string& name, const std::string& bytes) const;
    std::string read(const std::string& name) const;
    bool exists(const std::string& name) const;
    void remove(const std::string& name) const;
    // Every file of the folder by name, with its bytes.
    std::map<std::string, std::string> snapshot() const;

private:
    std::filesystem::path path_;
};

// Forwards to the real file system, except for the calls a test makes fail.
class FaultyFileSystem final : public FileSystem {
public:
    enum class Call {
        Status,
        ReadAll,
        CreateNew,
        CreateTemporary,
        OpenRead,
        Read,
        Write,
        SetMode,
        Sync,
        Close,
        Rename,
        SyncFolder,
        SyncFileSystem
    };

    // Calls of that kind on a path ending with `suffix` fail with `error`
    // (for handle calls the path is the file the handle was opened for).
    void fail(Call call, std::string suffix, int error);
    // Status of paths ending with `suffix` reports a read-only file.
    void markReadOnly(std::string suffix);
    // Status and reads of paths ending with `suffix` behave as if the file were gone.
    void markVanished(std::string suffix);
    // Writes into files opened for paths ending with `suffix` store half the
    // data and report success, like a medium that loses data silently.
    void markShortWrites(std::string suffix);

    // The free space the file system reports from now on.
    void setFreeBytes(std::uint64_t bytes) { freeBytes_ = bytes; }
    // Runs before each file is opened for reading, with its path.
    std::function<void(const std::string&)> onOpenRead;

    // Every file name a rename put in place, in order.
    const std::vector<std::string>& renamedTargets() const { return renamed_; }
    // Calls of each kind made so far.
    int calls(Call call) const;

    FileStatus status(const std::string& path) override;
    int readAll(const std::string& path, std::string& bytes) override;
    int createNew(const std::string& path, int& handle) override;
    int createTemporary(const std::string& directory, const std::string& prefix, const std::string& suffix,
                        std::string& path, int& handle) override;
    int openRead(const std::string& path, int& handle) override;
    int openUpdate(const std::string& path, int& handle) override;
    int read(int handle, char* data, std::size_t size, std::size_t& got) override;
    int readAt(int handle, std::uint64_t offset, char* data, std::size_t size, std::size_t& got) override;
    int write(int handle, const char* data, std::size_t size) override;
    int writeAt(int handle, std::uint64_t offset, const char* data, std::size_t size) override;
    int truncate(int handle, std::uint64_t size) override;
    int size(int handle, std::uint64_t& bytes) override;
    int setMode(int handle, unsigned mode) override;
    unsigned newFileMode() override;
    int sync(int handle) override;
    void startWriteback(int handle) override;
    void awaitWriteback(int handle) override;
    int close(int handle) override;
    int rename(const std::string& from, const std::string& to) override;
    int remove(const std::string& path) override;
    int syncFolder(const std::string& directory) override;
    int freeSpace(const std::string& directory, std::uint64_t& bytes, std::uint64_t& blockSize) override;
    bool removable(const std::string&) override { return removable_; }
    void markRemovable() { removable_ = true; }
    int syncFileSystem(const std::string& directory) override;
    int listNames(const std::string& directory, std::vector<std::string>& names) override;

private:
    int injected(Call call, const std::string& path);

    struct Fault {
        Call call;
        std::string suffix;
        int error;
    };
    std::vector<Fault> faults_;
    std::vector<std::string> readOnly_;
    std::vector<std::string> vanished_;
    std::vector<std::string> shortWrites_;
    std::map<int, std::string> handlePaths_;
    std::string pendingTarget_;
    std::vector<std::string> renamed_;
    std::map<Call, int> calls_;
    std::optional<std::uint64_t> freeBytes_;
    bool removable_ = false;
};

}  // namespace quorvel::testing
