#include "config/ReadAt.h"

#include <unistd.h>

#include <cerrno>

namespace quorvel {

std::size_t readAt(int descriptor, std::uint64_t offset, unsigned char* into, std::size_t count) {
    std::size_t done = 0;
    while (done < count) {
        const ssize_t got = ::pread(descriptor, into + done, count - done, static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        done += static_cast<std::size_t>(got);
    }
    return done;
}

}  // namespace quorvel
