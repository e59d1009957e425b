#include "CardFolder.h"

#include <cerrno>
#include <cstring>

#include "CardError.h"
#include "CardFiles.h"

namespace quorvel {
namespace {

std::string withSeparator(std::string folder) {
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder;
}

}  // namespace

CardFolder::CardFolder(std::string folder, FileSystem& fileSystem)
    : folder_(withSeparator(std::move(folder))), fileSystem_(&fileSystem) {}

std::string CardFolder::cardFilePath(std::string_view name) const { return folder_ + std::string(name); }

bool CardFolder::exists(std::string_view name) const {
    FileStatus status = fileSystem_->status(cardFilePath(name));
    return status.exists && status.regular;
}

std::string CardFolder::recordLine(std::string_view name) const {
    std::string path = cardFilePath(name);
    std::string bytes;
    if (int error = fileSystem_->readAll(path, bytes)) throw CardError(cannotOpenMessage(path, std::strerror(error)));
    if (bytes.empty()) throw CardError(emptyFileMessage());
    return bytes.substr(0, bytes.find_first_of("\r\n"));
}

void CardFolder::writeRecord(std::string_view name, std::string_view line) const {
    std::string path = cardFilePath(name);
    FileStatus status = fileSystem_->status(path);
    if (!status.exists || !status.regular) return;
    if (status.readOnly) throw CardError(writeErrorMessage(EACCES));
    std::string bytes(line);
    bytes += kLineEnd;
    replaceWith(path, bytes, status.mode);
}

void CardFolder::createFile(std::string_view name, std::string_view bytes) const {
    std::string path = cardFilePath(name);
    int handle = -1;
    if (int error = fileSystem_->createNew(path, handle)) throw CardError(writeErrorMessage(error));
    int error = fileSystem_->write(handle, bytes.data(), bytes.size());
    if (error == 0) error = fileSystem_->sync(handle);
    int closeError = fileSystem_->close(handle);
    if (error == 0) error = closeError;
    if (error != 0) {
        // A half-written card file would pass for an existing one at the next start.
        fileSystem_->remove(path);
        throw CardError(writeErrorMessage(error));
    }
}

// The new content goes to a temporary file that replaces the old one only
// once it is complete on disk, so a failed write never leaves a card file
// emptied or cut short.
void CardFolder::replaceWith(const std::string& path, std::string_view bytes, unsigned mode) const {
    std::string temporary;
    int handle = -1;
    if (int error = fileSystem_->createTemporary(folder_, temporary, handle)) throw CardError(writeErrorMessage(error));
    int error = fileSystem_->write(handle, bytes.data(), bytes.size());
    if (error == 0) error = fileSystem_->setMode(handle, mode);
    if (error == 0) error = fileSystem_->sync(handle);
    int closeError = fileSystem_->close(handle);
    if (error == 0) error = closeError;
    if (error == 0) error = fileSystem_->rename(temporary, path);
    if (error != 0) {
        fileSystem_->remove(temporary);
        throw CardError(writeErrorMessage(error));
    }
}

}  // namespace quorvel
