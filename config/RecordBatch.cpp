#include "RecordBatch.h"

#include <algorithm>
#include <cerrno>

#include "CardError.h"

namespace quorvel {
namespace {

// The card files' error table has no text of its own for a file cut short.
std::string messageFor(int error) { return writeErrorMessage(error == kShortFile ? EIO : error); }

// Files committed in one round. The syncs of a round share their journal
// commits; the temporaries of a round must fit beside the card files in a
// FAT16 root folder, which holds 512 entries, three per temporary name.
constexpr std::size_t kRoundFiles = 32;

}  // namespace

RecordBatch::RecordBatch(std::string folder, FileSystem& fileSystem)
    : folder_(std::move(folder)), fileSystem_(&fileSystem) {}

RecordBatch::~RecordBatch() { discardFrom(0); }

void RecordBatch::add(const std::string& path, std::string_view bytes) {
    Replacement file;
    int error = beginReplacement(*fileSystem_, folder_, path, kCardTemporary, file);
    if (error != 0) failAt(error);
    error = writeReplacement(*fileSystem_, file, bytes.data(), bytes.size());
    if (error == 0) error = sealReplacement(*fileSystem_, file);
    if (error != 0) {
        discardReplacement(*fileSystem_, file);
        failAt(error);
    }
    pending_.push_back(std::move(file));
    if (pending_.size() < kRoundFiles) return;
    if (int roundError = commitPending()) {
        syncFolderIfRenamed();
        throw CardError(messageFor(roundError));
    }
}

void RecordBatch::failAt(int error) {
    int earlier = commitPending();
    int folderError = syncFolderIfRenamed();
    if (earlier == 0) earlier = folderError;
    throw CardError(messageFor(earlier != 0 ? earlier : error));
}

void RecordBatch::commit() {
    int error = commitPending();
    int folderError = syncFolderIfRenamed();
    if (error == 0) error = folderError;
    if (error != 0) throw CardError(messageFor(error));
}

int RecordBatch::syncFolderIfRenamed() {
    if (!renamed_) return 0;
    renamed_ = false;
    return syncReplacedFolder(*fileSystem_, folder_);
}

int RecordBatch::commitPending() {
    int error = 0;
    for (const Replacement& file : pending_) fileSystem_->awaitWriteback(file.handle);
    std::size_t synced = 0;
    for (; synced < pending_.size(); ++synced) {
        if ((error = finishReplacement(*fileSystem_, pending_[synced])) != 0) break;
    }
    std::size_t renamed = 0;
    for (; renamed < synced; ++renamed) {
        if (int renameError = renameReplacement(*fileSystem_, pending_[renamed])) {
            error = renameError;
            break;
        }
    }
    discardFrom(renamed);
    renamed_ = renamed_ || renamed > 0;
    pending_.clear();
    return error;
}

void RecordBatch::discardFrom(std::size_t first) {
    for (std::size_t i = first; i < pending_.size(); ++i) discardReplacement(*fileSystem_, pending_[i]);
    pending_.resize(std::min(first, pending_.size()));
}

}  // namespace quorvel
