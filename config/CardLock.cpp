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

// Shared by every user of the machine, and emptied at each start.
std::string lockFolder() {
    return ::access("/run/lock", W_OK | X_OK) == 0 ? std::string("/run/lock/") : std::string("/tmp/");
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
    path_ = lockFolder() + "ajustor-quorvel-" + hexOf(fnv1a(cardPath)) + ".lock";
}

CardLock::~CardLock() {
    // Closing the only descriptor of the open file releases its locks.
    if (fd_ >= 0) ::close(fd_);
}

bool CardLock::open() {
    if (fd_ >= 0) return true;
    if (path_.empty()) return false;
    fd_ = ::open(path_.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd_ < 0) return false;
    struct stat info {};
    if (::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd_);
        fd_ = -1;
        return false;
    }
    // Another user's programs lock the same card; the umask would keep them out.
    if (info.st_uid == ::geteuid()) ::fchmod(fd_, 0666);
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
    result.program = std::move(program);
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

CardLockResult CardLock::holdForWindow() {
    if (!open()) return CardLockResult::NoLocking;
    const int error = tryLock(kWindowSlot);
    if (error == EAGAIN) return CardLockResult::Busy;
    if (error != 0) return CardLockResult::NoLocking;
    recordHolder(kWindowSlot);
    return CardLockResult::Taken;
}

}  // namespace quorvel
