#include "FileReplace.h"

#include <cerrno>
#include <vector>

namespace quorvel {
namespace {

// Earlier releases named their temporaries `.quorvel-`, `.quorvel-copy-` or
// `.quorvel-prompt-` with six letters or digits (the last kind ending in
// ".wav"); a card may still hold some that a killed run left.
constexpr std::size_t kLegacyRandomLength = 6;

bool isLowerOrDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z'); }
bool isLetterOrDigit(char c) { return isLowerOrDigit(c) || (c >= 'A' && c <= 'Z'); }

bool isTemporaryOfKind(std::string_view name, std::string_view prefix, std::string_view suffix,
                       std::size_t randomLength, bool (*isRandom)(char)) {
    if (name.size() != prefix.size() + randomLength + suffix.size()) return false;
    if (!name.starts_with(prefix) || !name.ends_with(suffix)) return false;
    for (char c : name.substr(prefix.size(), randomLength)) {
        if (!isRandom(c)) return false;
    }
    return true;
}

bool isTemporaryOfKind(std::string_view name, TemporaryKind kind) {
    return isTemporaryOfKind(name, kind.prefix, kind.suffix, kTemporaryRandomLength, isLowerOrDigit);
}

bool isLegacyTemporary(std::string_view name, std::string_view prefix, std::string_view suffix) {
    return isTemporaryOfKind(name, prefix, suffix, kLegacyRandomLength, isLetterOrDigit);
}

// File systems such as FAT keep no permission bits and refuse to set them.
bool modesUnsupported(int error) { return error == ENOSYS || error == EPERM || error == EOPNOTSUPP; }

void modeFromTarget(FileSystem& fileSystem, Replacement& replacement) {
    const FileStatus old = fileSystem.status(replacement.target);
    replacement.mode = old.exists && old.regular ? old.mode : fileSystem.newFileMode();
}

}  // namespace

std::string folderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

int beginReplacement(FileSystem& fileSystem, const std::string& folder, const std::string& target, TemporaryKind kind,
                     Replacement& replacement) {
    replacement.target = target;
    replacement.written = 0;
    modeFromTarget(fileSystem, replacement);
    return fileSystem.createTemporary(folder, std::string(kind.prefix), std::string(kind.suffix), replacement.temporary,
                                      replacement.handle);
}

int adoptReplacement(FileSystem& fileSystem, const std::string& temporary, const std::string& target,
                     Replacement& replacement) {
    replacement.target = target;
    replacement.temporary = temporary;
    modeFromTarget(fileSystem, replacement);
    if (int error = fileSystem.openRead(temporary, replacement.handle)) return error;
    return fileSystem.size(replacement.handle, replacement.written);
}

int writeReplacement(FileSystem& fileSystem, Replacement& replacement, const char* data, std::size_t size) {
    if (int error = fileSystem.write(replacement.handle, data, size)) return error;
    replacement.written += size;
    return 0;
}

int sealReplacement(FileSystem& fileSystem, Replacement& replacement) {
    int error = fileSystem.setMode(replacement.handle, replacement.mode);
    if (error != 0 && !modesUnsupported(error)) return error;
    fileSystem.startWriteback(replacement.handle);
    return 0;
}

int finishReplacement(FileSystem& fileSystem, Replacement& replacement) {
    std::uint64_t size = 0;
    int error = fileSystem.sync(replacement.handle);
    if (error == 0) error = fileSystem.size(replacement.handle, size);
    if (error == 0 && size != replacement.written) error = kShortFile;
    int closeError = fileSystem.close(replacement.handle);
    replacement.handle = -1;
    return error != 0 ? error : closeError;
}

int renameReplacement(FileSystem& fileSystem, Replacement& replacement) {
    if (int error = fileSystem.rename(replacement.temporary, replacement.target)) return error;
    replacement.temporary.clear();
    return 0;
}

void discardReplacement(FileSystem& fileSystem, Replacement& replacement) {
    if (replacement.handle >= 0) fileSystem.close(replacement.handle);
    replacement.handle = -1;
    if (!replacement.temporary.empty()) fileSystem.remove(replacement.temporary);
    replacement.temporary.clear();
}

int syncReplacedFolder(FileSystem& fileSystem, const std::string& folder) {
    int error = fileSystem.syncFolder(folder);
    return error == EINVAL || error == ENOTSUP || error == ENOSYS ? 0 : error;
}

int installReplacement(FileSystem& fileSystem, const std::string& temporary, const std::string& target) {
    Replacement replacement;
    int error = adoptReplacement(fileSystem, temporary, target, replacement);
    if (error == 0) error = sealReplacement(fileSystem, replacement);
    if (error == 0) error = finishReplacement(fileSystem, replacement);
    if (error == 0) error = renameReplacement(fileSystem, replacement);
    if (error != 0) {
        discardReplacement(fileSystem, replacement);
        return error;
    }
    return syncReplacedFolder(fileSystem, folderOf(target));
}

int replaceWithBytes(FileSystem& fileSystem, const std::string& folder, const std::string& target, TemporaryKind kind,
                     const char* data, std::size_t size) {
    Replacement replacement;
    int error = beginReplacement(fileSystem, folder, target, kind, replacement);
    if (error == 0) error = writeReplacement(fileSystem, replacement, data, size);
    if (error == 0) error = sealReplacement(fileSystem, replacement);
    if (error == 0) error = finishReplacement(fileSystem, replacement);
    if (error == 0) error = renameReplacement(fileSystem, replacement);
    discardReplacement(fileSystem, replacement);
    return error;
}

bool isLeftoverTemporaryName(std::string_view name) {
    return isTemporaryOfKind(name, kCardTemporary) || isTemporaryOfKind(name, kCopyTemporary) ||
           isTemporaryOfKind(name, kPromptTemporary) || isLegacyTemporary(name, ".quorvel-", "") ||
           isLegacyTemporary(name, ".quorvel-copy-", "") || isLegacyTemporary(name, ".quorvel-prompt-", ".wav");
}

void removeLeftoverTemporaries(FileSystem& fileSystem, const std::string& folder) {
    std::vector<std::string> names;
    if (fileSystem.listNames(folder, names) != 0) return;
    for (const std::string& name : names) {
        if (!isLeftoverTemporaryName(name)) continue;
        const std::string path = folder + name;
        if (fileSystem.status(path).regular) fileSystem.remove(path);
    }
}

}  // namespace quorvel
