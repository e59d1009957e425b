#pragma once

#include "audio/pipeline/AuStream.h"

#include <cstdint>

struct AVIOContext;

namespace quorvel {

// The decoder's view of an input's own stream: the file is read through the
// stream the input holds, never opened again by name.
class TAudioStream {
public:
    explicit TAudioStream(TAuStream& Wrapped) : FWrapped(Wrapped) {}
    TAudioStream(const TAudioStream&) = delete;
    TAudioStream& operator=(const TAudioStream&) = delete;

    // Bytes read; false when none could be.
    bool Read(void* Buffer, std::uint32_t Count, std::uint32_t& Done);
    void Seek(std::int64_t Offset, TSeekOrigin Origin);
    std::int64_t Stat() { return FWrapped.GetSize(); }
    std::int64_t Position() { return FWrapped.Position(); }

    // An I/O context reading this stream from its current position; the
    // caller frees it with FreeIoContext.
    AVIOContext* NewIoContext();
    static void FreeIoContext(AVIOContext*& Context);

private:
    TAuStream& FWrapped;
};

}  // namespace quorvel
