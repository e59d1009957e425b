#include "CardFolder.h"

#include <cerrno>
#include <cstring>

#include "CardError.h"
#include "CardFiles.h"
#include "CardWrite.h"
#include "FileReplace.h"

namespace quorvel {
std::string withSeparator(std::string folder) {
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder;
}

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
    CardWrite single(folder_, *fileSystem_);
    CardWrite& write = batch_ != nullptr ? *batch_ : single;
    if (status.readOnly) write.refuse(path, EACCES);
    std::string bytes(line);
    bytes += kLineEnd;
    write.put(path, std::move(bytes));
    if (&write != &single) return;
    if (CardResult result = single.commit(); !result.ok()) throw CardError(result);
}

CardFolder CardFolder::batched(CardWrite& write) const {
    CardFolder view(*this);
    view.batch_ = &write;
    return view;
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

void CardFolder::removeLeftoverTemporaries() const { quorvel::removeLeftoverTemporaries(*fileSystem_, folder_); }

}  // namespace quorvel
