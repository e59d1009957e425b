// The card session: the one way to write a card folder, and to read it for a
// backup. One session per card per process, shared by every writer in it
// (the window's save, a conversion running beside it, a command of
// ajustor-card), so that they share one lock and never refuse each other.
//
// Every write is one CardWrite: all of its files or none. Before its first
// write in a process the session removes what a killed run left; where no
// lock can be had it compares the card with what was last read and refuses
// to write over a change made meanwhile; a restore keeps the card's previous
// files first; after each write the card's history is told.
#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "config/CardFolder.h"
#include "config/CardLock.h"
#include "config/CardResult.h"
#include "config/CardSnapshot.h"
#include "config/CardWrite.h"
#include "config/DeviceConfiguration.h"

namespace quorvel {

// Told of every write of a card, to keep its history. Returns an error text,
// empty when the record was kept; a failure never fails the write.
class CardRecorder {
public:
    virtual ~CardRecorder() = default;
    // Before each write, under the lock: what the card holds then.
    virtual std::string beforeWrite() = 0;
    // After a write landed; `names` are the files it replaced.
    virtual std::string afterWrite(const std::string& action, const std::vector<std::string>& names) = 0;
};

class CardSession {
public:
    // Made for every session opened from then on in this process (the history).
    using RecorderFactory = std::function<std::unique_ptr<CardRecorder>(const std::string& folder)>;
    static void setRecorderFactory(RecorderFactory factory);

    // The session of `folder` in this process, opened on first use with
    // `program`, which names this process in other programs' messages
    // ("ajustor-card set"), and `fileSystem`; later calls get that session.
    static std::shared_ptr<CardSession> open(const std::string& folder, const std::string& program,
                                             FileSystem& fileSystem = realFileSystem());

    CardSession(std::string folder, std::string program, FileSystem& fileSystem);
    CardSession(const CardSession&) = delete;
    CardSession& operator=(const CardSession&) = delete;

    const CardFolder& card() const { return card_; }
    const std::string& folder() const { return card_.folder(); }
    // The card is on a removable medium: each write is synced through to it.
    bool writesThrough() const { return writeThrough_; }

    // A writer's claim on the card for one operation; the holds of one
    // process share the card's lock, taken by the first and released by the last.
    class Hold {
    public:
        Hold() = default;
        Hold(Hold&& other) noexcept : session_(other.session_) { other.session_ = nullptr; }
        Hold& operator=(Hold&& other) noexcept;
        ~Hold() { release(); }
        explicit operator bool() const { return session_ != nullptr; }
        void release();

    private:
        friend class CardSession;
        explicit Hold(CardSession* session) : session_(session) {}
        CardSession* session_ = nullptr;
    };

    struct HoldResult {
        Hold hold;
        CardLockResult lock = CardLockResult::Taken;  // Busy or WindowOpen: no hold
        CardLockHolder holder;                        // who has the card then
    };
    // Takes the card for writing, waiting up to `wait` for another program.
    // `overrideWindow`: write although another program's window has the card
    // open. The first hold of the process removes what killed runs left,
    // unless the holder has temporaries of its own there (`keepTemporaries`).
    HoldResult hold(std::chrono::milliseconds wait, bool overrideWindow,
                    const std::function<void(const CardLockHolder&)>& onWait = {}, bool keepTemporaries = false);
    // The window's claim for as long as it is open: other programs refuse to write.
    CardLockResult holdForWindow();

    // Reads the configuration, and remembers the card files as the basis the
    // next write is compared with. A failure leaves in `config` what was
    // read before it.
    [[nodiscard]] CardResult load(DeviceConfiguration& config);
    // The card files changed since the last load or write of this session.
    bool changedSinceLoad() const;
    // Makes the card files as they are now the basis (after the user chose
    // to write over another program's change).
    void acceptCurrentFiles();

    // The writes. Each needs a live hold, lands whole or not at all, and is
    // recorded in the history under `action`.
    CardResult createMissingFiles(const std::string& action);
    CardResult save(const DeviceConfiguration& config, const std::string& action);
    CardResult commit(CardWrite& write, const std::string& action);
    // Renames the finished `temporary` (in the card folder) over the prompt `name`.
    CardResult installPrompt(const std::string& temporary, const std::string& name, const std::string& action);
    // How far a backup or restore is: told before each file (its position,
    // the number of files, the file read) and after it, with its name.
    struct CopyProgress {
        std::function<void(std::size_t index, std::size_t count, const std::string& source)> starting;
        std::function<void(const std::string& name)> copied;
    };
    // Keeps the card's plain files in a new safety folder, then replaces the
    // card's files with every plain file of `source`. `safetyFolder` names
    // where the previous files are; it is empty when the safety copy could
    // not be made, and the result then names the folder it was to be made in.
    CardResult restore(const std::string& source, const std::string& action, std::string& safetyFolder,
                       const CopyProgress& progress = {});
    // Copies the card's plain files into `destination` while no one writes the card.
    struct BackupResult {
        std::vector<std::pair<std::string, std::string>> failures;  // file, reason
        std::string listingError;
    };
    BackupResult backup(const std::string& destination, const CopyProgress& progress = {});

    // What the history could not record since the last call, once each.
    std::vector<std::string> takeNotices();

    // A new write for this card's folder.
    CardWrite newWrite() const { return CardWrite(card_.folder(), card_.fileSystem()); }

private:
    void releaseHold();
    CardResult checkOutsideChanges() const;
    // Whether what the card holds must be remembered: to compare with before
    // a write that holds no lock, or for the window, which watches the card.
    // Under the lock no other writer can come between a read and a write.
    bool keepsBasis() const;
    void recordAfter(const std::string& action, const std::vector<std::string>& names);
    // Takes writeMutex_; false when this thread has it already (a write
    // started from within a copy's progress report).
    bool enterWrite();
    void addNotice(std::string notice);
    void leaveWrite();

    CardFolder card_;
    std::string program_;
    CardLock lock_;
    bool writeThrough_ = false;
    mutable std::mutex holdMutex_;
    int holds_ = 0;
    bool locked_ = false;    // the lock is taken, not only held without one
    bool watched_ = false;   // the window compares the card with its last load all along
    std::mutex writeMutex_;  // one write at a time within the process
    std::atomic<std::thread::id> writer_{};
    mutable std::mutex stateMutex_;  // for the basis and the notices
    CardSnapshot basis_;
    bool hasBasis_ = false;
    std::unique_ptr<CardRecorder> recorder_;
    std::vector<std::string> notices_;
    std::set<std::string> told_;
};

}  // namespace quorvel
