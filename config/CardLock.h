// One writer at a time per card folder. Every operation that writes card
// files holds the write lock from before it reads what it will write until
// after its last rename; the window also holds the card for as long as it is
// open, so that other programs refuse to write behind its back.
//
// The locks are open-file-description record locks on a file named after the
// card folder's real path in a folder of the user's own ($XDG_RUNTIME_DIR, else
// /tmp/ajustor-quorvel-UID, refused unless the user owns it and no one else may
// enter it): the kernel drops them with the process, so a killed holder never
// blocks the card, and no other user can hold, fill or plant the lock file.
// Within one process every writer shares one lock, through the card session.
// Nothing of the lock lives on the card: the device and a backup never
// see it, a read-only card is locked as well as any other, and no two
// programs keep one file of the card open at once: a FAT driver served
// through FUSE loses track of a file that another open handle gives its first
// cluster (reads fail, and writes start a second chain).
#pragma once

#include <chrono>
#include <functional>
#include <string>

namespace quorvel {

// Who holds a lock, as the holder wrote it into the lock file.
struct CardLockHolder {
    long pid = 0;
    std::string program;

    // "ajustor-card set (pid 1234)", or "another program" when unknown.
    std::string describe() const;
};

enum class CardLockResult {
    Taken,
    Busy,        // another writer kept the write lock for the whole wait
    WindowOpen,  // a window holds the card
    // The card folder cannot be found, or the lock file cannot be made: the
    // operation goes on unlocked.
    NoLocking,
};

class CardLock {
public:
    // `program` names the holder in other programs' messages.
    CardLock(const std::string& folder, std::string program);
    ~CardLock();
    CardLock(const CardLock&) = delete;
    CardLock& operator=(const CardLock&) = delete;

    // Takes the write lock, trying again until `wait` has passed. A window's
    // hold refuses at once unless `overrideWindow`. `onWait` runs once, when
    // the first try finds another writer.
    CardLockResult lockForWriting(std::chrono::milliseconds wait, bool overrideWindow,
                                  const std::function<void(const CardLockHolder&)>& onWait = {});
    // Gives the write lock back; the window's hold stays.
    void releaseWriting();
    // Takes the window's hold without waiting; Busy when another window has it.
    CardLockResult holdForWindow();

    // What holds the write lock, or the window's hold, after a refusal.
    CardLockHolder writer() const { return holder(kWriterSlot); }
    CardLockHolder window() const { return holder(kWindowSlot); }

private:
    static constexpr int kWriterSlot = 0;
    static constexpr int kWindowSlot = 1;

    bool open();
    // 0 when taken; EAGAIN when another has it; another errno value when the
    // file system cannot lock.
    int tryLock(int slot);
    // Whether another open file holds `slot`; false when that is unknown.
    bool heldElsewhere(int slot) const;
    void recordHolder(int slot);
    CardLockHolder holder(int slot) const;

    std::string path_;
    std::string program_;
    int fd_ = -1;
};

}  // namespace quorvel
