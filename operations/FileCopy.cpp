#include "operations/FileCopy.h"

#include <cerrno>
#include <cstdint>
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

// Writes the temporary copy; returns the reason it is not a complete copy.
std::string writeCopy(FileSystem& fileSystem, int in, int out, unsigned mode) {
    int error = pump(fileSystem, in, out);
    if (error == 0) error = fileSystem.setMode(out, mode);
    if (error == 0) error = fileSystem.sync(out);
    std::uint64_t sourceSize = 0;
    std::uint64_t copySize = 0;
    if (error == 0) error = fileSystem.size(in, sourceSize);
    if (error == 0) error = fileSystem.size(out, copySize);
    if (error != 0) return writeErrorMessage(error);
    if (copySize != sourceSize) return "Copy incomplete";
    return {};
}

}  // namespace

std::string copyFileInto(FileSystem& fileSystem, const std::string& source, const std::string& folder,
                         const std::string& name) {
    const FileStatus from = fileSystem.status(source);
    const std::string target = folder + name;
    const FileStatus to = fileSystem.status(target);
    if (to.exists && !to.regular) return writeErrorMessage(EISDIR);
    if (to.exists && to.readOnly) return writeErrorMessage(EACCES);

    int in = -1;
    if (int error = fileSystem.openRead(source, in)) return writeErrorMessage(error);
    std::string temporary;
    int out = -1;
    if (int error = fileSystem.createTemporary(folder, std::string(kCopyTemporaryPrefix), temporary, out)) {
        fileSystem.close(in);
        return writeErrorMessage(error);
    }
    std::string reason = writeCopy(fileSystem, in, out, from.mode);
    fileSystem.close(in);
    int closeError = fileSystem.close(out);
    if (reason.empty() && closeError != 0) reason = writeErrorMessage(closeError);
    if (reason.empty()) {
        if (int error = fileSystem.rename(temporary, target)) reason = writeErrorMessage(error);
    }
    if (!reason.empty()) fileSystem.remove(temporary);
    return reason;
}

}  // namespace quorvel
