#include "operations/FolderCopy.h"

#include <filesystem>

#include "config/CardError.h"
#include "operations/FileCopy.h"
#include "operations/FolderListing.h"

namespace quorvel {
namespace {

std::string withSeparator(std::string folder) {
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder;
}

}  // namespace

FolderCopy::FolderCopy(std::string source, std::string destination, FileSystem& fileSystem)
    : source_(withSeparator(std::move(source))),
      destination_(withSeparator(std::move(destination))),
      fileSystem_(&fileSystem) {}

bool FolderCopy::intoItself() const {
    std::error_code error;
    return std::filesystem::equivalent(source_, destination_, error);
}

int FolderCopy::list() { return listPlainFiles(*fileSystem_, source_, names_); }

bool FolderCopy::copy(std::size_t index) {
    std::string reason = copyFileInto(*fileSystem_, sourcePath(index), destination_, names_[index]);
    if (!reason.empty()) {
        failures_.push_back({names_[index], std::move(reason)});
        return false;
    }
    copiedAny_ = true;
    return true;
}

void FolderCopy::finish() {
    if (!copiedAny_) return;
    if (int error = fileSystem_->syncFolder(destination_))
        failures_.push_back({destination_, writeErrorMessage(error)});
}

}  // namespace quorvel
