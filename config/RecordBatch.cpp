#include "RecordBatch.h"

#include <algorithm>

#include "CardError.h"

namespace quorvel {

RecordBatch::RecordBatch(std::string folder, FileSystem& fileSystem)
    : folder_(std::move(folder)), fileSystem_(&fileSystem) {}

RecordBatch::~RecordBatch() { discardFrom(0); }

void RecordBatch::add(const std::string& path, std::string_view bytes, unsigned mode) {
    Pending file{path, {}, -1};
    if (int error =
            fileSystem_->createTemporary(folder_, std::string(kCardTemporaryPrefix), file.temporary, file.handle))
        failAt(error);
    int error = fileSystem_->write(file.handle, bytes.data(), bytes.size());
    if (error == 0) error = fileSystem_->setMode(file.handle, mode);
    if (error == 0) fileSystem_->startWriteback(file.handle);
    if (error != 0) {
        fileSystem_->close(file.handle);
        fileSystem_->remove(file.temporary);
        failAt(error);
    }
    pending_.push_back(std::move(file));
}

void RecordBatch::failAt(int error) {
    int earlier = commitPending();
    throw CardError(writeErrorMessage(earlier != 0 ? earlier : error));
}

void RecordBatch::commit() {
    if (int error = commitPending()) throw CardError(writeErrorMessage(error));
}

int RecordBatch::commitPending() {
    int error = 0;
    for (const Pending& file : pending_) fileSystem_->awaitWriteback(file.handle);
    std::size_t synced = 0;
    for (; synced < pending_.size(); ++synced) {
        Pending& file = pending_[synced];
        error = fileSystem_->sync(file.handle);
        int closeError = fileSystem_->close(file.handle);
        file.handle = -1;
        if (error == 0) error = closeError;
        if (error != 0) break;
    }
    std::size_t renamed = 0;
    for (; renamed < synced; ++renamed) {
        if (int renameError = fileSystem_->rename(pending_[renamed].temporary, pending_[renamed].target)) {
            error = renameError;
            break;
        }
    }
    discardFrom(renamed);
    if (renamed > 0) {
        int folderError = fileSystem_->syncFolder(folder_);
        if (error == 0) error = folderError;
    }
    pending_.clear();
    return error;
}

void RecordBatch::discardFrom(std::size_t first) {
    for (std::size_t i = first; i < pending_.size(); ++i) {
        if (pending_[i].handle >= 0) fileSystem_->close(pending_[i].handle);
        fileSystem_->remove(pending_[i].temporary);
    }
    pending_.resize(std::min(first, pending_.size()));
}

}  // namespace quorvel
