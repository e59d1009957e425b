#include "CardLock.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <thread>

namespace quorvel {
namespace {

// Each slot has one locked byte and one record naming its holder.
constexpr off_t kRecordSize = 64;
constexpr auto kRetryInterval = std::chrono::milliseconds(20);

// A folder of this user's alone: the session's runtime folder, else one made
// for this user in $TMPDIR or /tmp. Another user can neither hold a lock here nor plant a
// file in its place. Empty when no such folder can be had.
std::string lockFolder() {
    const uid_t user = ::geteuid();
    const auto ownFolder = [user](const std::string& path) {
        struct stat info {};
        return ::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == user &&
               (info.st_mode & 077) == 0;
    };
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && runtime[0] == '/' && ownFolder(runtime)) {
        const std::string folder = std::string(runtime) + "/ajustor-quorvel";
        ::mkdir(folder.c_str(), 0700);
        if (ownFolder(folder)) return folder + '/';
    }
    const char* temporary = std::getenv("TMPDIR");
    const std::string base = temporary != nullptr && temporary[0] == '/' ? temporary : "/tmp";
    const std::string folder = base + "/ajustor-quorvel-" + std::to_string(user);
    ::mkdir(folder.c_str(), 0700);
    return ownFolder(folder) ? folder + '/' : std::string();
}

std::uint64_t fnv1a(const std::string& text) {
    std::uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : text) hash = (hash ^ c) * 1099511628211ull;
    return hash;
}

std::string hexOf(std::uint64_t value) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text(16, '0');
    for (int i = 15; i >= 0; --i, value >>= 4) text[static_cast<std::size_t>(i)] = kDigits[value & 0xf];
    return text;
}

// What a holder wrote reaches a terminal and a message box: printable ASCII only.
std::string printableText(const std::string& text) {
    std::string printable;
    for (unsigned char c : text) printable += c >= 0x20 && c < 0x7f ? static_cast<char>(c) : '?';
    return printable;
}

struct flock slotRange(int slot, short type) {
    struct flock range {};
    range.l_type = type;
    range.l_whence = SEEK_SET;
    range.l_start = slot;
    range.l_len = 1;
    return range;
}

}  // namespace

std::string CardLockHolder::describe() const {
    if (pid <= 0) return "another program";
    return (program.empty() ? std::string("a program") : program) + " (pid " + std::to_string(pid) + ")";
}

CardLock::CardLock(const std::string& folder, std::string program) : program_(std::move(program)) {
    char* real = ::realpath(folder.empty() ? "." : folder.c_str(), nullptr);
    if (real == nullptr) return;
    const std::string cardPath = real;
    std::free(real);
    const std::string locks = lockFolder();
    if (!locks.empty()) path_ = locks + hexOf(fnv1a(cardPath)) + ".lock";
}

CardLock::~CardLock() {
    // Closing the only descriptor of the open file releases its locks.
    if (fd_ >= 0) ::close(fd_);
}

bool CardLock::open() {
    if (fd_ >= 0) return true;
    if (path_.empty()) return false;
    fd_ = ::open(path_.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd_ < 0) return false;
    struct stat info {};
    if (::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != ::geteuid()) {
        ::close(fd_);
        fd_ = -1;
        return false;
    }
    return true;
}

int CardLock::tryLock(int slot) {
    struct flock range = slotRange(slot, F_WRLCK);
    if (::fcntl(fd_, F_OFD_SETLK, &range) == 0) return 0;
    return errno == EACCES ? EAGAIN : errno;
}

bool CardLock::heldElsewhere(int slot) const {
    struct flock range = slotRange(slot, F_WRLCK);
    return ::fcntl(fd_, F_OFD_GETLK, &range) == 0 && range.l_type != F_UNLCK;
}

void CardLock::recordHolder(int slot) {
    std::string record = std::to_string(::getpid()) + ' ' + program_;
    record.resize(kRecordSize - 1, ' ');
    record += '\n';
    // Only a hint for other programs' messages: a failed write changes nothing.
    [[maybe_unused]] ssize_t written = ::pwrite(fd_, record.data(), record.size(), slot * kRecordSize);
}

CardLockHolder CardLock::holder(int slot) const {
    CardLockHolder result;
    if (fd_ < 0) return result;
    char record[kRecordSize + 1] = {};
    if (::pread(fd_, record, kRecordSize, slot * kRecordSize) <= 0) return result;
    char* end = nullptr;
    result.pid = std::strtol(record, &end, 10);
    if (end == record || *end != ' ') return CardLockHolder{};
    std::string program(end + 1);
    program.erase(program.find_last_not_of(" \n") + 1);
    result.program = printableText(program);
    return result;
}

CardLockResult CardLock::lockForWriting(std::chrono::milliseconds wait, bool overrideWindow,
                                        const std::function<void(const CardLockHolder&)>& onWait) {
    if (!open()) return CardLockResult::NoLocking;
    if (!overrideWindow && heldElsewhere(kWindowSlot)) return CardLockResult::WindowOpen;
    const auto deadline = std::chrono::steady_clock::now() + wait;
    bool told = false;
    for (;;) {
        const int error = tryLock(kWriterSlot);
        if (error == 0) break;
        if (error != EAGAIN) return CardLockResult::NoLocking;
        if (std::chrono::steady_clock::now() >= deadline) return CardLockResult::Busy;
        if (!told && onWait) onWait(writer());
        told = true;
        std::this_thread::sleep_for(kRetryInterval);
    }
    recordHolder(kWriterSlot);
    return CardLockResult::Taken;
}

void CardLock::releaseWriting() {
    if (fd_ < 0) return;
    struct flock range = slotRange(kWriterSlot, F_UNLCK);
    ::fcntl(fd_, F_OFD_SETLK, &range);
}

CardLockResult CardLock::holdForWindow() {
    if (!open()) return CardLockResult::NoLocking;
    const int error = tryLock(kWindowSlot);
    if (error == EAGAIN) return CardLockResult::Busy;
    if (error != 0) return CardLockResult::NoLocking;
    recordHolder(kWindowSlot);
    return CardLockResult::Taken;
}

}  // namespace quorvel
