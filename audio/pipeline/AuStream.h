#pragma once

#include <cstddef>
#include <cstdint>

namespace quorvel {

enum class TSeekOrigin { soBeginning, soCurrent, soEnd };

// A byte stream that file components read from or write to.
class TAuStream {
public:
    TAuStream() = default;
    TAuStream(const TAuStream&) = delete;
    TAuStream& operator=(const TAuStream&) = delete;
    virtual ~TAuStream() = default;

    // Count of bytes read; 0 at the end.
    virtual std::size_t Read(void* Buffer, std::size_t Count) = 0;
    virtual std::size_t Write(const void* Buffer, std::size_t Count) = 0;
    // New position from the start.
    virtual std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) = 0;
    virtual std::int64_t GetSize() = 0;

    std::int64_t Position() { return Seek(0, TSeekOrigin::soCurrent); }
};

}  // namespace quorvel
