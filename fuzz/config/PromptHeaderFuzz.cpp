// A prompt file on the card may hold any bytes: the header judge must read
// none outside them and call playable only the writer's own layout, with
// all of its samples present.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

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
    const quorvel::PromptHeaderVerdict verdict = quorvel::judgePromptHeader(bytes);
    if (verdict.playable != verdict.reason.empty()) std::abort();
    if (!verdict.playable) return 0;
    if (size < quorvel::kPromptHeaderSize || verdict.dataBytes % 2 != 0 ||
        verdict.dataBytes > size - quorvel::kPromptHeaderSize)
        std::abort();
    // The header the writer makes for those figures is the one found.
    unsigned char header[quorvel::kPromptHeaderSize];
    quorvel::makePromptHeader(header, verdict.sampleRate, verdict.dataBytes);
    if (!std::equal(header + 8, header + 44, data + 8) || !std::equal(header, header + 4, data)) std::abort();
    return 0;
}
