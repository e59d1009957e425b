#include "audio/pipeline/FileStream.h"

#include "audio/pipeline/AuException.h"
#include "audio/pipeline/Utf16.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <system_error>

namespace quorvel {

namespace {

[[noreturn]] void RaiseSystemError(int Code) { throw EAuException(std::system_category().message(Code)); }

int OpenFlags(std::uint16_t Mode) {
    if (Mode == TAuFileStream::fmCreate) return O_RDWR | O_CREAT | O_TRUNC;
    switch (Mode & 3U) {
        case 0:
            return O_RDONLY;
        case 1:
            return O_WRONLY;
        case 2:
            return O_RDWR;
        default:
            RaiseSystemError(EINVAL);
    }
}

}  // namespace

TAuFileStream::TAuFileStream(const std::u16string& FileName, std::uint16_t Mode) {
    // A file to read is opened without blocking, so that a FIFO or a device
    // is refused rather than waited on; only regular files are read.
    const bool reading = OpenFlags(Mode) == O_RDONLY;
    const int flags = OpenFlags(Mode) | O_CLOEXEC | (reading ? O_NONBLOCK : 0);
    const std::string path = Utf16ToUtf8(FileName);
    do {
        FHandle = ::open(path.c_str(), flags, 0666);
    } while (FHandle < 0 && errno == EINTR);
    if (FHandle < 0) RaiseSystemError(errno);
    if (!reading) return;
    struct stat status {};
    if (::fstat(FHandle, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(FHandle);
        throw EAuException("Not a regular file");
    }
    ::fcntl(FHandle, F_SETFL, ::fcntl(FHandle, F_GETFL) & ~O_NONBLOCK);
}

TAuFileStream::~TAuFileStream() { ::close(FHandle); }

std::size_t TAuFileStream::Read(void* Buffer, std::size_t Count) {
    auto* dest = static_cast<char*>(Buffer);
    std::size_t total = 0;
    while (total < Count) {
        const ssize_t got = ::read(FHandle, dest + total, Count - total);
        if (got < 0) {
            if (errno == EINTR) continue;
            RaiseSystemError(errno);
        }
        if (got == 0) break;
        total += static_cast<std::size_t>(got);
    }
    return total;
}

std::size_t TAuFileStream::Write(const void* Buffer, std::size_t Count) {
    const auto* src = static_cast<const char*>(Buffer);
    std::size_t total = 0;
    while (total < Count) {
        const ssize_t put = ::write(FHandle, src + total, Count - total);
        if (put < 0) {
            if (errno == EINTR) continue;
            RaiseSystemError(errno);
        }
        total += static_cast<std::size_t>(put);
    }
    return total;
}

std::int64_t TAuFileStream::Seek(std::int64_t Offset, TSeekOrigin Origin) {
    int whence = SEEK_SET;
    if (Origin == TSeekOrigin::soCurrent)
        whence = SEEK_CUR;
    else if (Origin == TSeekOrigin::soEnd)
        whence = SEEK_END;
    const off_t position = ::lseek(FHandle, static_cast<off_t>(Offset), whence);
    if (position < 0) RaiseSystemError(errno);
    return position;
}

std::int64_t TAuFileStream::GetSize() {
    struct stat info {};
    if (::fstat(FHandle, &info) != 0) RaiseSystemError(errno);
    return info.st_size;
}

}  // namespace quorvel
