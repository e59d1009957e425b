#include "audio/formats/TagIo.h"

#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>

namespace quorvel {

std::size_t ReadFully(int Handle, void* Buffer, std::size_t Count) {
    auto* bytes = static_cast<std::uint8_t*>(Buffer);
    std::size_t done = 0;
    while (done < Count) {
        const ssize_t got = ::read(Handle, bytes + done, Count - done);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        done += static_cast<std::size_t>(got);
    }
    return done;
}

bool WriteFully(int Handle, const void* Buffer, std::size_t Count) {
    const auto* bytes = static_cast<const std::uint8_t*>(Buffer);
    std::size_t done = 0;
    while (done < Count) {
        const ssize_t put = ::write(Handle, bytes + done, Count - done);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return false;
        done += static_cast<std::size_t>(put);
    }
    return true;
}

std::int64_t FileLength(int Handle) {
    struct stat status {};
    if (::fstat(Handle, &status) != 0) return -1;
    return status.st_size;
}

std::int64_t FilePosition(int Handle) { return ::lseek(Handle, 0, SEEK_CUR); }

bool SetFilePosition(int Handle, std::int64_t Position) {
    return Position >= 0 && ::lseek(Handle, Position, SEEK_SET) == Position;
}

}  // namespace quorvel
