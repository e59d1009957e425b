// Tags come from any file a technician picks: both ID3 readers must accept
// any bytes, and whatever an ID3v2 reader took for a tag must lie inside the file.
#include <sys/mman.h>
#include <unistd.h>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "audio/formats/Id3v1Tags.h"
#include "audio/formats/Id3v2Tags.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quorvel;
    const int handle = ::memfd_create("tags", 0);
    if (handle < 0) return 0;
    if (::write(handle, data, size) == static_cast<ssize_t>(size)) {
        TId3v1Tags v1;
        if (v1.Detect(handle) != v1.ReadFrom(handle)) std::abort();
        ::lseek(handle, 0, SEEK_SET);
        TId3v2Tags v2;
        const bool detected = v2.Detect(handle);
        if (::lseek(handle, 0, SEEK_CUR) != 0) std::abort();
        if (v2.ReadFrom(handle) != detected) std::abort();
        if (::lseek(handle, 0, SEEK_CUR) > static_cast<off_t>(size)) std::abort();
    }
    ::close(handle);
    return 0;
}
