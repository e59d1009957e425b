#include "operations/FolderCopy.h"

#include <algorithm>
#include <filesystem>

#include "config/CardError.h"
#include "config/CardFolder.h"
#include "operations/FolderListing.h"

namespace quorvel {
namespace {

// Enough to share a sync round among the small files, little enough to keep
// each wait for the medium short and to leave room for the temporaries in a
// FAT16 root folder of 512 entries beside a card's files.
constexpr std::uint64_t kSettleBytes = std::uint64_t{16} << 20;
constexpr std::size_t kSettleFiles = 32;

}  // namespace

FolderCopy::FolderCopy(std::string source, std::string destination, ReadOnlyTarget readOnly, FileSystem& fileSystem)
    : source_(withSeparator(std::move(source))),
      destination_(withSeparator(std::move(destination))),
      readOnly_(readOnly),
      fileSystem_(&fileSystem) {}

FolderCopy::~FolderCopy() {
    for (Pending& file : pending_) discardCopy(*fileSystem_, file.copy);
}

bool FolderCopy::intoItself() const {
    std::error_code error;
    return std::filesystem::equivalent(source_, destination_, error);
}

CardResult FolderCopy::list() {
    removeLeftoverTemporaries(*fileSystem_, destination_);
    return listPlainFiles(*fileSystem_, source_, names_);
}

void FolderCopy::copy(std::size_t index) {
    Pending file{index, {}};
    std::string reason = startCopy(*fileSystem_, sourcePath(index), destination_, names_[index], readOnly_, file.copy);
    if (!reason.empty()) {
        fail(index, std::move(reason));
        return;
    }
    pendingBytes_ += file.copy.sourceSize;
    pending_.push_back(std::move(file));
    if (pendingBytes_ >= kSettleBytes || pending_.size() >= kSettleFiles) settle();
}

void FolderCopy::settle() {
    for (const Pending& file : pending_) fileSystem_->awaitWriteback(file.copy.file.handle);
    for (Pending& file : pending_) {
        std::string reason = completeCopy(*fileSystem_, file.copy);
        if (!reason.empty()) {
            fail(file.index, std::move(reason));
            continue;
        }
        copiedAny_ = true;
        if (copied_) copied_(names_[file.index]);
    }
    pending_.clear();
    pendingBytes_ = 0;
}

void FolderCopy::finish() {
    settle();
    if (!copiedAny_) return;
    if (int error = syncReplacedFolder(*fileSystem_, destination_))
        failures_.push_back({destination_, writeErrorMessage(error)});
}

// A batch settles after later files may have failed already: keep listing order.
void FolderCopy::fail(std::size_t index, std::string reason) {
    auto at = std::upper_bound(failedIndexes_.begin(), failedIndexes_.end(), index);
    const auto offset = at - failedIndexes_.begin();
    failedIndexes_.insert(at, index);
    failures_.insert(failures_.begin() + offset, {names_[index], std::move(reason)});
}

}  // namespace quorvel
