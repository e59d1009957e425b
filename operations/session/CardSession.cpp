#include "operations/session/CardSession.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <map>
#include <utility>

#include "config/CardError.h"
#include "config/CardSequences.h"
#include "config/FileReplace.h"
#include "operations/FolderCopy.h"
#include "operations/FolderListing.h"
#include "operations/SafetyCopies.h"

namespace quorvel {
namespace {

std::mutex& registryMutex() {
    static std::mutex mutex;
    return mutex;
}

std::map<std::string, std::weak_ptr<CardSession>>& registry() {
    static std::map<std::string, std::weak_ptr<CardSession>> sessions;
    return sessions;
}

CardSession::RecorderFactory& recorderFactory() {
    static CardSession::RecorderFactory factory;
    return factory;
}

// One folder reached by two names is one card.
std::string realPathOf(const std::string& folder) {
    char* real = ::realpath(folder.empty() ? "." : folder.c_str(), nullptr);
    if (real == nullptr) return folder;
    std::string path = real;
    std::free(real);
    return path;
}

const std::string kNotHeld = "the card is not held for writing";
const std::string kBusyHere = "the card is being copied; write again once the copy has ended";
const std::string kChangedMeanwhile = "the card files changed while this command ran; nothing was written";

}  // namespace

void CardSession::setRecorderFactory(RecorderFactory factory) {
    std::lock_guard guard(registryMutex());
    recorderFactory() = std::move(factory);
}

std::shared_ptr<CardSession> CardSession::open(const std::string& folder, const std::string& program,
                                               FileSystem& fileSystem) {
    std::lock_guard guard(registryMutex());
    // One lock per card per process: whoever opens the card first sets the
    // file system every later writer goes through.
    const std::string key = realPathOf(folder);
    if (auto existing = registry()[key].lock()) return existing;
    auto session = std::make_shared<CardSession>(folder, program, fileSystem);
    if (recorderFactory()) session->recorder_ = recorderFactory()(session->folder());
    registry()[key] = session;
    return session;
}

CardSession::CardSession(std::string folder, std::string program, FileSystem& fileSystem)
    : card_(withSeparator(std::move(folder)), fileSystem),
      program_(std::move(program)),
      lock_(card_.folder(), program_) {}

CardSession::Hold& CardSession::Hold::operator=(Hold&& other) noexcept {
    if (this != &other) {
        release();
        session_ = other.session_;
        other.session_ = nullptr;
    }
    return *this;
}

void CardSession::Hold::release() {
    if (session_ != nullptr) session_->releaseHold();
    session_ = nullptr;
}

CardSession::HoldResult CardSession::hold(std::chrono::milliseconds wait, bool overrideWindow,
                                          const std::function<void(const CardLockHolder&)>& onWait,
                                          bool keepTemporaries) {
    std::lock_guard guard(holdMutex_);
    HoldResult result;
    if (holds_ == 0) {
        result.lock = lock_.lockForWriting(wait, overrideWindow, onWait);
        if (result.lock == CardLockResult::Busy || result.lock == CardLockResult::WindowOpen) {
            result.holder = result.lock == CardLockResult::Busy ? lock_.writer() : lock_.window();
            return result;
        }
        locked_ = result.lock == CardLockResult::Taken;
        // No writer of this process is under way, and no other may be: what
        // is left of temporaries is left by a killed run.
        if (locked_ && !keepTemporaries) card_.removeLeftoverTemporaries();
    }
    ++holds_;
    result.hold = Hold(this);
    return result;
}

void CardSession::releaseHold() {
    std::lock_guard guard(holdMutex_);
    if (--holds_ == 0 && locked_) {
        lock_.releaseWriting();
        locked_ = false;
    }
}

CardLockResult CardSession::holdForWindow() {
    std::lock_guard guard(holdMutex_);
    watched_ = true;
    return lock_.holdForWindow();
}

bool CardSession::keepsBasis() const {
    std::lock_guard guard(holdMutex_);
    return watched_ || !locked_;
}

CardResult CardSession::load(DeviceConfiguration& config) {
    if (keepsBasis()) {
        // Taken before reading: a change made during the load shows as one.
        CardSnapshot before = CardSnapshot::take(card_);
        std::lock_guard guard(stateMutex_);
        basis_ = std::move(before);
        hasBasis_ = true;
    }
    return loadConfiguration(card_, config);
}

bool CardSession::changedSinceLoad() const {
    const CardSnapshot now = CardSnapshot::take(card_);
    std::lock_guard guard(stateMutex_);
    return hasBasis_ && now.changedSince(basis_);
}

void CardSession::acceptCurrentFiles() {
    CardSnapshot now = CardSnapshot::take(card_);
    std::lock_guard guard(stateMutex_);
    basis_ = std::move(now);
    hasBasis_ = true;
}

CardResult CardSession::checkOutsideChanges() const {
    {
        std::lock_guard guard(holdMutex_);
        if (holds_ == 0) return CardResult::failed(kNotHeld, card_.folder());
        // Under the lock no other writer can have run.
        if (locked_) return {};
    }
    if (changedSinceLoad()) return CardResult::failed(kChangedMeanwhile, card_.folder());
    return {};
}

CardResult CardSession::createMissingFiles(const std::string& action) {
    CardWrite write = newWrite();
    addMissingFiles(card_, write);
    if (write.empty()) return {};
    return commit(write, action);
}

CardResult CardSession::save(const DeviceConfiguration& config, const std::string& action) {
    CardWrite write = newWrite();
    addConfiguration(card_, config, write);
    return commit(write, action);
}

CardResult CardSession::commit(CardWrite& write, const std::string& action) {
    if (CardResult outside = checkOutsideChanges(); !outside.ok()) return outside;
    if (!enterWrite()) return CardResult::failed(kBusyHere, card_.folder());
    const std::unique_ptr<CardSession, void (*)(CardSession*)> leave(this, [](CardSession* s) { s->leaveWrite(); });
    if (recorder_) {
        if (std::string error = recorder_->beforeWrite(); !error.empty()) addNotice(std::move(error));
    }
    const std::vector<std::string> names = write.names();
    CardResult result = write.commit();
    if (!result.ok() && result.state == CardState::Unchanged) return result;
    // A card may be pulled out once the tool says it is written: its file
    // system's cache, FAT's tables included, goes to the medium first.
    if (writeThrough_ && result.ok()) {
        if (int error = card_.fileSystem().syncFileSystem(card_.folder())) {
            result = CardResult::failed(writeErrorMessage(error), card_.folder(), CardState::Written);
        }
    }
    if (keepsBasis()) acceptCurrentFiles();
    recordAfter(action, names);
    return result;
}

CardResult CardSession::installPrompt(const std::string& temporary, const std::string& name,
                                      const std::string& action) {
    CardWrite write = newWrite();
    write.adopt(card_.cardFilePath(name), temporary);
    return commit(write, action);
}

CardResult CardSession::restore(const std::string& source, const std::string& action, std::string& safetyFolder,
                                const CopyProgress& progress) {
    const std::string from = withSeparator(source);
    std::error_code sameError;
    if (std::filesystem::equivalent(from, card_.folder(), sameError)) {
        return CardResult::failed("The backup folder is the card folder; nothing was copied", from);
    }
    std::vector<std::string> names;
    if (CardResult listed = listPlainFiles(card_.fileSystem(), from, names); !listed.ok()) return listed;
    {
        std::lock_guard guard(holdMutex_);
        if (holds_ == 0) return CardResult::failed(kNotHeld, card_.folder());
    }
    // The card's files as they are, before anything of the backup lands.
    const std::string parent = safetyCopiesFolder();
    std::string error;
    safetyFolder = createSafetyCopyFolder(parent, std::time(nullptr), error);
    if (safetyFolder.empty()) return CardResult::failed(error, parent);
    const BackupResult kept = backup(safetyFolder);
    if (!kept.listingError.empty() || !kept.failures.empty()) {
        const std::string reason = kept.listingError.empty() ? kept.failures.front().second : kept.listingError;
        return CardResult::failed(reason, std::exchange(safetyFolder, {}));
    }
    pruneSafetyCopies(parent);

    CardWrite write = newWrite();
    write.onProgress(progress.starting, progress.copied);
    for (const std::string& name : names) {
        const std::string target = card_.cardFilePath(name);
        if (card_.fileSystem().status(target).readOnly) write.refuse(target, EACCES);
        write.copy(target, from + name);
    }
    return commit(write, action);
}

CardSession::BackupResult CardSession::backup(const std::string& destination, const CopyProgress& progress) {
    BackupResult result;
    FolderCopy copy(card_.folder(), withSeparator(destination), ReadOnlyTarget::Replace, card_.fileSystem());
    if (copy.intoItself()) {
        result.listingError = "The destination is the source folder; nothing was copied";
        return result;
    }
    // A write of this process waits until the copy is whole.
    if (!enterWrite()) {
        result.listingError = kBusyHere;
        return result;
    }
    const std::unique_ptr<CardSession, void (*)(CardSession*)> leave(this, [](CardSession* s) { s->leaveWrite(); });
    if (const CardResult listed = copy.list(); !listed.ok()) {
        result.listingError = listed.message;
        return result;
    }
    if (progress.copied) copy.onCopied(progress.copied);
    const std::size_t count = copy.names().size();
    for (std::size_t i = 0; i < count; ++i) {
        if (progress.starting) progress.starting(i, count, copy.sourcePath(i));
        copy.copy(i);
    }
    copy.finish();
    for (const CopyFailure& failure : copy.failures()) result.failures.emplace_back(failure.name, failure.reason);
    return result;
}

bool CardSession::enterWrite() {
    if (writer_.load() == std::this_thread::get_id()) return false;
    writeMutex_.lock();
    writer_ = std::this_thread::get_id();
    return true;
}

void CardSession::leaveWrite() {
    writer_ = std::thread::id();
    writeMutex_.unlock();
}

void CardSession::recordAfter(const std::string& action, const std::vector<std::string>& names) {
    if (!recorder_) return;
    if (std::string error = recorder_->afterWrite(action, names); !error.empty()) addNotice(std::move(error));
}

void CardSession::addNotice(std::string notice) {
    std::lock_guard guard(stateMutex_);
    // Said once per session: a history that cannot be written stays so.
    if (told_.insert(notice).second) notices_.push_back(std::move(notice));
}

std::vector<std::string> CardSession::takeNotices() {
    std::lock_guard guard(stateMutex_);
    return std::exchange(notices_, {});
}

}  // namespace quorvel
