#include "operations/FileCopy.h"

#include <cerrno>
#include <memory>

#include "config/CardError.h"

namespace quorvel {
namespace {

constexpr std::size_t kChunkSize = std::size_t{1} << 20;

int pump(FileSystem& fileSystem, int in, int out) {
    auto buffer = std::make_unique<char[]>(kChunkSize);
    for (;;) {
        std::size_t got = 0;
        if (int error = fileSystem.read(in, buffer.get(), kChunkSize, got)) return error;
        if (got == 0) return 0;
        if (int error = fileSystem.write(out, buffer.get(), got)) return error;
    }
}

std::string discard(FileSystem& fileSystem, PendingCopy& pending, int error) {
    fileSystem.close(pending.handle);
    pending.handle = -1;
    fileSystem.remove(pending.temporary);
    return writeErrorMessage(error);
}

}  // namespace

std::string startCopy(FileSystem& fileSystem, const std::string& source, const std::string& folder,
                      const std::string& name, PendingCopy& pending) {
    const FileStatus from = fileSystem.status(source);
    pending.target = folder + name;
    const FileStatus to = fileSystem.status(pending.target);
    if (to.exists && !to.regular) return writeErrorMessage(EISDIR);
    if (to.exists && to.readOnly) return writeErrorMessage(EACCES);

    int in = -1;
    if (int error = fileSystem.openRead(source, in)) return writeErrorMessage(error);
    if (int error =
            fileSystem.createTemporary(folder, std::string(kCopyTemporaryPrefix), pending.temporary, pending.handle)) {
        fileSystem.close(in);
        return writeErrorMessage(error);
    }
    int error = pump(fileSystem, in, pending.handle);
    if (error == 0) error = fileSystem.size(in, pending.sourceSize);
    fileSystem.close(in);
    if (error == 0) error = fileSystem.setMode(pending.handle, from.mode);
    if (error != 0) return discard(fileSystem, pending, error);
    fileSystem.startWriteback(pending.handle);
    return {};
}

std::string completeCopy(FileSystem& fileSystem, PendingCopy& pending) {
    std::uint64_t copySize = 0;
    int error = fileSystem.sync(pending.handle);
    if (error == 0) error = fileSystem.size(pending.handle, copySize);
    if (error != 0) return discard(fileSystem, pending, error);
    if (copySize != pending.sourceSize) {
        discard(fileSystem, pending, 0);
        return "Copy incomplete";
    }
    error = fileSystem.close(pending.handle);
    pending.handle = -1;
    if (error == 0) error = fileSystem.rename(pending.temporary, pending.target);
    if (error != 0) {
        fileSystem.remove(pending.temporary);
        return writeErrorMessage(error);
    }
    return {};
}

}  // namespace quorvel
