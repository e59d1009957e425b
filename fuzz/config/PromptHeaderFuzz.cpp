// A prompt file on the card may hold any bytes: the header probe must read
// none outside them and accept only what starts as a RIFF/WAVE file with a
// format chunk.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "config/PromptHeader.h"

namespace {

class MemoryBytes final : public quorvel::ByteSource {
public:
    MemoryBytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::uint64_t size() const override { return size_; }
    std::size_t readAt(std::uint64_t offset, unsigned char* into, std::size_t count) override {
        if (offset >= size_) return 0;
        const std::size_t got = std::min<std::size_t>(count, size_ - static_cast<std::size_t>(offset));
        std::copy_n(data_ + offset, got, into);
        return got;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    MemoryBytes bytes(data, size);
    if (!quorvel::isPlayablePromptHeader(bytes)) return 0;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (size < 36 || text.substr(0, 4) != "RIFF" || text.substr(8, 4) != "WAVE" ||
        text.find("fmt ", 12) == std::string_view::npos) {
        std::abort();
    }
    return 0;
}
