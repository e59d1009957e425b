#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "FileSystem.h"

namespace quorvel {
namespace {

int lastError() { return errno != 0 ? errno : EIO; }

// Lower case only: a mixed-case name is no short name on FAT.
std::string randomLowerCase(std::size_t length) {
    static constexpr char kAlphabet[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937 generator{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kAlphabet - 2);
    std::string text(length, 'a');
    for (char& c : text) c = kAlphabet[pick(generator)];
    return text;
}

class PosixFileSystem final : public FileSystem {
public:
    FileStatus status(const std::string& path) override {
        FileStatus result;
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0) return result;
        if (S_ISLNK(info.st_mode)) {
            result.link = true;
            if (::stat(path.c_str(), &info) != 0) return result;
        }
        result.exists = true;
        result.regular = S_ISREG(info.st_mode);
        result.mode = info.st_mode & 07777;
        result.readOnly = (info.st_mode & 0222) == 0;
        result.size = static_cast<std::uint64_t>(info.st_size);
        return result;
    }

    int readAll(const std::string& path, std::string& bytes) override {
        // Non-blocking so that a pipe of that name cannot hang the window.
        int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0) return lastError();
        struct stat info {};
        int error = 0;
        if (::fstat(fd, &info) != 0)
            error = lastError();
        else if (S_ISDIR(info.st_mode))
            error = EISDIR;
        else if (!S_ISREG(info.st_mode))
            error = EACCES;
        bytes.clear();
        char buffer[4096];
        while (error == 0) {
            ssize_t got = ::read(fd, buffer, sizeof buffer);
            if (got > 0)
                bytes.append(buffer, static_cast<std::size_t>(got));
            else if (got == 0)
                break;
            else if (errno != EINTR)
                error = lastError();
        }
        ::close(fd);
        return error;
    }

    int createNew(const std::string& path, int& handle) override {
        handle = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        return handle < 0 ? lastError() : 0;
    }

    int createTemporary(const std::string& directory, const std::string& prefix, const std::string& suffix,
                        std::string& path, int& handle) override {
        constexpr int kAttempts = 100;
        for (int attempt = 0; attempt < kAttempts; ++attempt) {
            std::string candidate = directory + prefix + randomLowerCase(kTemporaryRandomLength) + suffix;
            handle = ::open(candidate.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
            if (handle >= 0) {
                path = std::move(candidate);
                return 0;
            }
            if (errno != EEXIST && errno != EINTR) return lastError();
        }
        return EEXIST;
    }

    int openRead(const std::string& path, int& handle) override {
        handle = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW);
        if (handle < 0) return errno == ELOOP ? EACCES : lastError();
        struct stat info {};
        int error = 0;
        if (::fstat(handle, &info) != 0)
            error = lastError();
        else if (S_ISDIR(info.st_mode))
            error = EISDIR;
        else if (!S_ISREG(info.st_mode))
            error = EACCES;
        if (error != 0) {
            ::close(handle);
            handle = -1;
        }
        return error;
    }

    int openUpdate(const std::string& path, int& handle) override {
        handle = ::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW);
        if (handle < 0) return errno == ELOOP ? EACCES : lastError();
        struct stat info {};
        int error = 0;
        if (::fstat(handle, &info) != 0)
            error = lastError();
        else if (!S_ISREG(info.st_mode))
            error = EACCES;
        if (error != 0) {
            ::close(handle);
            handle = -1;
        }
        return error;
    }

    int readAt(int handle, std::uint64_t offset, char* data, std::size_t size, std::size_t& got) override {
        got = 0;
        while (got < size) {
            const ssize_t count = ::pread(handle, data + got, size - got, static_cast<off_t>(offset + got));
            if (count < 0 && errno == EINTR) continue;
            if (count < 0) return lastError();
            if (count == 0) break;
            got += static_cast<std::size_t>(count);
        }
        return 0;
    }

    int writeAt(int handle, std::uint64_t offset, const char* data, std::size_t size) override {
        std::size_t done = 0;
        while (done < size) {
            const ssize_t put = ::pwrite(handle, data + done, size - done, static_cast<off_t>(offset + done));
            if (put < 0 && errno == EINTR) continue;
            if (put < 0) return lastError();
            if (put == 0) return ENOSPC;
            done += static_cast<std::size_t>(put);
        }
        return 0;
    }

    int truncate(int handle, std::uint64_t size) override {
        return ::ftruncate(handle, static_cast<off_t>(size)) != 0 ? lastError() : 0;
    }

    int read(int handle, char* data, std::size_t size, std::size_t& got) override {
        for (;;) {
            ssize_t count = ::read(handle, data, size);
            if (count >= 0) {
                got = static_cast<std::size_t>(count);
                return 0;
            }
            if (errno != EINTR) return lastError();
        }
    }

    int size(int handle, std::uint64_t& bytes) override {
        struct stat info {};
        if (::fstat(handle, &info) != 0) return lastError();
        bytes = static_cast<std::uint64_t>(info.st_size);
        return 0;
    }

    int write(int handle, const char* data, std::size_t size) override {
        while (size > 0) {
            ssize_t put = ::write(handle, data, size);
            if (put < 0) {
                if (errno == EINTR) continue;
                return lastError();
            }
            if (put == 0) return ENOSPC;
            data += put;
            size -= static_cast<std::size_t>(put);
        }
        return 0;
    }

    int setMode(int handle, unsigned mode) override { return ::fchmod(handle, mode) != 0 ? lastError() : 0; }

    unsigned newFileMode() override {
        // The umask can only be read by setting it; /proc shows it without that race.
        std::FILE* status = std::fopen("/proc/self/status", "re");
        unsigned mask = 022;
        if (status != nullptr) {
            char line[256];
            while (std::fgets(line, sizeof line, status) != nullptr) {
                if (std::sscanf(line, "Umask: %o", &mask) == 1) break;
            }
            std::fclose(status);
        }
        return 0666 & ~mask;
    }

    int sync(int handle) override { return ::fsync(handle) != 0 ? lastError() : 0; }

    void startWriteback(int handle) override { ::sync_file_range(handle, 0, 0, SYNC_FILE_RANGE_WRITE); }

    void awaitWriteback(int handle) override {
        ::sync_file_range(handle, 0, 0,
                          SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE | SYNC_FILE_RANGE_WAIT_AFTER);
    }

    int close(int handle) override {
        // After EINTR the descriptor is already released on Linux; retrying could close another one.
        if (::close(handle) != 0 && errno != EINTR) return lastError();
        return 0;
    }

    int rename(const std::string& from, const std::string& to) override {
        return ::rename(from.c_str(), to.c_str()) != 0 ? lastError() : 0;
    }

    int remove(const std::string& path) override { return ::unlink(path.c_str()) != 0 ? lastError() : 0; }

    int syncFolder(const std::string& directory) override {
        int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) return lastError();
        int error = ::fsync(fd) != 0 ? lastError() : 0;
        ::close(fd);
        return error;
    }

    int freeSpace(const std::string& directory, std::uint64_t& bytes, std::uint64_t& blockSize) override {
        struct statvfs info {};
        if (::statvfs(directory.c_str(), &info) != 0) return lastError();
        blockSize = info.f_frsize != 0 ? info.f_frsize : info.f_bsize;
        bytes = static_cast<std::uint64_t>(info.f_bavail) * blockSize;
        return 0;
    }

    bool removable(const std::string& directory) override {
        struct stat info {};
        if (::stat(directory.c_str(), &info) != 0) return false;
        // The block device's sysfs entry: a partition's disk is its parent.
        char link[64];
        std::snprintf(link, sizeof link, "/sys/dev/block/%u:%u", major(info.st_dev), minor(info.st_dev));
        char* device = ::realpath(link, nullptr);
        if (device == nullptr) return false;
        std::string path = device;
        std::free(device);
        // Card readers on USB and SD slots do not always set the flag.
        if (path.find("/usb") != std::string::npos || path.find("/mmc") != std::string::npos) return true;
        for (int level = 0; level < 2; ++level, path = path.substr(0, path.find_last_of('/'))) {
            std::FILE* flag = std::fopen((path + "/removable").c_str(), "re");
            if (flag == nullptr) continue;
            const int value = std::fgetc(flag);
            std::fclose(flag);
            return value == '1';
        }
        return false;
    }

    int syncFileSystem(const std::string& directory) override {
        int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) return lastError();
        int error = ::syncfs(fd) != 0 ? lastError() : 0;
        ::close(fd);
        return error;
    }

    int listNames(const std::string& directory, std::vector<std::string>& names) override {
        DIR* stream = ::opendir(directory.c_str());
        if (stream == nullptr) return lastError();
        names.clear();
        int error = 0;
        for (;;) {
            errno = 0;
            const dirent* entry = ::readdir(stream);
            if (entry == nullptr) {
                error = errno;
                break;
            }
            std::string name = entry->d_name;
            if (name != "." && name != "..") names.push_back(std::move(name));
        }
        ::closedir(stream);
        return error;
    }
};

}  // namespace

FileSystem& realFileSystem() {
    static PosixFileSystem fileSystem;
    return fileSystem;
}

}  // namespace quorvel
