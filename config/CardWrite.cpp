#include "CardWrite.h"

#include <cerrno>

#include "CardError.h"

namespace quorvel {
namespace {

// Card files and prompts up to this size are held in memory so that a failed
// rename can put them back; larger files are named if they cannot be.
constexpr std::uint64_t kHeldLimit = 4u << 20;
constexpr std::size_t kCopyBlock = 64 * 1024;

std::string messageFor(int error) { return writeErrorMessage(error == kShortFile ? EIO : error); }

std::string nameOf(const std::string& path) { return path.substr(path.find_last_of('/') + 1); }

std::string kilobytes(std::uint64_t bytes) { return std::to_string((bytes + 1023) / 1024) + " KB"; }

}  // namespace

CardWrite::CardWrite(std::string folder, FileSystem& fileSystem)
    : folder_(std::move(folder)), fileSystem_(&fileSystem) {}

CardWrite::~CardWrite() { discardAll(); }

void CardWrite::add(const std::string& path, Source source, std::string bytes) {
    File file;
    file.path = path;
    file.source = source;
    file.bytes = std::move(bytes);
    files_.push_back(std::move(file));
}

void CardWrite::put(const std::string& path, std::string bytes) { add(path, Source::Bytes, std::move(bytes)); }

void CardWrite::copy(const std::string& path, std::string source) { add(path, Source::Copy, std::move(source)); }

void CardWrite::adopt(const std::string& path, std::string temporary) {
    add(path, Source::Adopted, std::move(temporary));
}

void CardWrite::refuse(const std::string& path, int error) {
    if (!refusal_) refusal_ = Refusal{path, error};
}

std::vector<std::string> CardWrite::names() const {
    std::vector<std::string> names;
    for (const File& file : files_) names.push_back(nameOf(file.path));
    return names;
}

std::uint64_t CardWrite::bytesNeeded(std::uint64_t blockSize) const {
    const std::uint64_t block = blockSize == 0 ? 512 : blockSize;
    std::uint64_t needed = 0;
    for (const File& file : files_) {
        if (file.unchanged) continue;
        std::uint64_t size = 0;
        if (file.source == Source::Bytes) size = file.bytes.size();
        if (file.source == Source::Copy) size = fileSystem_->status(file.bytes).size;
        // An adopted file is on the card already.
        if (file.source != Source::Adopted) needed += (size + block - 1) / block * block + block;
    }
    return needed;
}

CardResult CardWrite::checkSpace() const {
    std::uint64_t free = 0;
    std::uint64_t block = 0;
    // A file system that cannot tell is found out by the writes themselves.
    if (fileSystem_->freeSpace(folder_, free, block) != 0) return {};
    const std::uint64_t needed = bytesNeeded(block);
    if (needed <= free) return {};
    return CardResult::failed(
        messageFor(ENOSPC) + ": the files need " + kilobytes(needed) + ", the card has " + kilobytes(free) + " free",
        folder_);
}

int CardWrite::readSource(const std::string& path, const std::function<int(const char*, std::size_t)>& take) {
    int source = -1;
    if (int error = fileSystem_->openRead(path, source)) return error;
    std::string buffer(kCopyBlock, '\0');
    int error = 0;
    for (;;) {
        std::size_t got = 0;
        if ((error = fileSystem_->read(source, buffer.data(), buffer.size(), got)) != 0 || got == 0) break;
        if ((error = take(buffer.data(), got)) != 0) break;
    }
    fileSystem_->close(source);
    return error;
}

int CardWrite::compareWithTarget(File& file) {
    const FileStatus old = fileSystem_->status(file.path);
    file.existed = old.exists && old.regular;
    if (file.existed && old.size <= kHeldLimit) {
        std::string bytes;
        if (fileSystem_->readAll(file.path, bytes) == 0) file.previous = std::move(bytes);
    }
    if (!file.previous || file.source == Source::Adopted) return 0;
    if (file.source == Source::Bytes) {
        file.unchanged = *file.previous == file.bytes;
        if (file.unchanged) std::string().swap(file.bytes);
        return 0;
    }
    // A copy is read twice when it differs, so that no more than the card's
    // own small files are held at once.
    if (fileSystem_->status(file.bytes).size != file.previous->size()) return 0;
    std::string bytes;
    const int error = readSource(file.bytes, [&bytes](const char* data, std::size_t size) {
        bytes.append(data, size);
        return 0;
    });
    file.unchanged = error == 0 && bytes == *file.previous;
    return error;
}

int CardWrite::writeTemporary(File& file) {
    if (file.source == Source::Adopted) {
        if (int error = adoptReplacement(*fileSystem_, file.bytes, file.path, file.replacement)) return error;
        return sealReplacement(*fileSystem_, file.replacement);
    }
    if (int error = beginReplacement(*fileSystem_, folder_, file.path, kCardTemporary, file.replacement)) return error;
    const int error = file.source == Source::Bytes
                          ? writeReplacement(*fileSystem_, file.replacement, file.bytes.data(), file.bytes.size())
                          : readSource(file.bytes, [&](const char* data, std::size_t size) {
                                return writeReplacement(*fileSystem_, file.replacement, data, size);
                            });
    if (error != 0) return error;
    if (file.source == Source::Bytes) std::string().swap(file.bytes);
    return sealReplacement(*fileSystem_, file.replacement);
}

CardResult CardWrite::failBeforeRenames(int error, std::string path) {
    discardAll();
    return CardResult::failed(messageFor(error), std::move(path));
}

CardResult CardWrite::commit() {
    if (refusal_) {
        discardAll();
        return CardResult::failed(messageFor(refusal_->error), refusal_->path);
    }
    // A file that already holds its new content is left alone: on a card
    // behind FUSE every file created costs a walk of the whole folder.
    for (File& file : files_) {
        if (int error = compareWithTarget(file)) return failBeforeRenames(error, file.path);
    }
    if (CardResult space = checkSpace(); !space.ok()) {
        discardAll();
        return space;
    }
    for (std::size_t i = 0; i < files_.size(); ++i) {
        File& file = files_[i];
        if (starting_) starting_(i, files_.size(), file.source == Source::Bytes ? file.path : file.bytes);
        if (!file.unchanged) {
            if (int error = writeTemporary(file)) return failBeforeRenames(error, file.path);
        }
        if (written_) written_(nameOf(file.path));
    }
    for (File& file : files_) {
        if (!file.unchanged) fileSystem_->awaitWriteback(file.replacement.handle);
    }
    for (File& file : files_) {
        if (file.unchanged) continue;
        if (int error = finishReplacement(*fileSystem_, file.replacement)) return failBeforeRenames(error, file.path);
    }
    for (std::size_t renamed = 0; renamed < files_.size(); ++renamed) {
        if (files_[renamed].unchanged) continue;
        if (int error = renameReplacement(*fileSystem_, files_[renamed].replacement)) {
            const std::string failedPath = files_[renamed].path;
            std::string lost;
            const CardState state = undoRenames(renamed, lost);
            discardAll();
            syncReplacedFolder(*fileSystem_, folder_);
            std::string message = messageFor(error);
            if (!lost.empty()) message += "; not put back:" + lost;
            return CardResult::failed(std::move(message), failedPath, state);
        }
    }
    files_.clear();
    if (int error = syncReplacedFolder(*fileSystem_, folder_)) {
        return CardResult::failed(messageFor(error), folder_, CardState::Written);
    }
    return {};
}

CardState CardWrite::undoRenames(std::size_t renamed, std::string& lost) {
    for (std::size_t i = 0; i < renamed; ++i) {
        File& file = files_[i];
        if (file.unchanged) continue;
        int error = 0;
        if (!file.existed) {
            error = fileSystem_->remove(file.path);
        } else if (!file.previous) {
            error = EIO;
        } else {
            error = replaceWithBytes(*fileSystem_, folder_, file.path, kCardTemporary, file.previous->data(),
                                     file.previous->size());
        }
        if (error != 0) lost += ' ' + nameOf(file.path);
    }
    return lost.empty() ? CardState::Unchanged : CardState::Mixed;
}

void CardWrite::discardAll() {
    for (File& file : files_) {
        // An adopted file not yet opened is still the caller's temporary.
        if (file.source == Source::Adopted && file.replacement.temporary.empty() && file.replacement.target.empty()) {
            fileSystem_->remove(file.bytes);
        }
        discardReplacement(*fileSystem_, file.replacement);
    }
    files_.clear();
}

}  // namespace quorvel
