#include "operations/FileCopy.h"

#include <cerrno>
#include <memory>

#include "config/CardError.h"

namespace quorvel {
namespace {

constexpr std::size_t kChunkSize = std::size_t{1} << 20;

int pump(FileSystem& fileSystem, int in, Replacement& out) {
    auto buffer = std::make_unique<char[]>(kChunkSize);
    for (;;) {
        std::size_t got = 0;
        if (int error = fileSystem.read(in, buffer.get(), kChunkSize, got)) return error;
        if (got == 0) return 0;
        if (int error = writeReplacement(fileSystem, out, buffer.get(), got)) return error;
    }
}

std::string failed(FileSystem& fileSystem, PendingCopy& pending, int error) {
    discardCopy(fileSystem, pending);
    return error == kShortFile ? "Copy incomplete" : writeErrorMessage(error);
}

}  // namespace

std::string startCopy(FileSystem& fileSystem, const std::string& source, const std::string& folder,
                      const std::string& name, ReadOnlyTarget readOnly, PendingCopy& pending) {
    const FileStatus from = fileSystem.status(source);
    const std::string target = folder + name;
    const FileStatus to = fileSystem.status(target);
    if (to.exists && !to.regular) return writeErrorMessage(EISDIR);
    if (to.exists && to.readOnly && readOnly == ReadOnlyTarget::Refuse) return writeErrorMessage(EACCES);

    int in = -1;
    if (int error = fileSystem.openRead(source, in)) return writeErrorMessage(error);
    if (int error = beginReplacement(fileSystem, folder, target, kCopyTemporary, pending.file)) {
        fileSystem.close(in);
        return writeErrorMessage(error);
    }
    pending.file.mode = from.mode;
    int error = pump(fileSystem, in, pending.file);
    if (error == 0) error = fileSystem.size(in, pending.sourceSize);
    fileSystem.close(in);
    if (error == 0 && pending.sourceSize != pending.file.written) error = kShortFile;
    if (error == 0) error = sealReplacement(fileSystem, pending.file);
    return error != 0 ? failed(fileSystem, pending, error) : std::string();
}

std::string completeCopy(FileSystem& fileSystem, PendingCopy& pending) {
    int error = finishReplacement(fileSystem, pending.file);
    if (error == 0) error = renameReplacement(fileSystem, pending.file);
    return error != 0 ? failed(fileSystem, pending, error) : std::string();
}

void discardCopy(FileSystem& fileSystem, PendingCopy& pending) { discardReplacement(fileSystem, pending.file); }

}  // namespace quorvel
