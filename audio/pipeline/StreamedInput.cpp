#include "audio/pipeline/StreamedInput.h"

namespace quorvel {

void TAuStreamedInput::SetStream(TAuStream* Value) {
    FOwnedStream.reset();
    FStream = Value;
    FStreamAssigned = Value != nullptr;
}

void TAuStreamedInput::AdoptStream(std::unique_ptr<TAuStream> Owned) {
    FOwnedStream = std::move(Owned);
    FStream = FOwnedStream.get();
    FStreamAssigned = false;
}

void TAuStreamedInput::DropOwnedStream() {
    if (!FOwnedStream) return;
    FOwnedStream.reset();
    FStream = nullptr;
}

void TAuStreamedInput::ReadCounted(const std::uint8_t*& Buffer, std::uint32_t& Bytes) {
    DoRead(Buffer, Bytes);
    if (Bytes == 0) {
        FEndReached = true;
        return;
    }
    const std::int64_t size = FSize;
    const std::int64_t position = FPosition += Bytes;
    if (size > 0 && position >= size) {
        FEndReached = true;
        if (position > size) {
            const std::int64_t excess = position - size;
            Bytes = excess >= Bytes ? 0 : Bytes - static_cast<std::uint32_t>(excess);
            FPosition = size;
        }
    }
}

void TAuStreamedInput::Read(const std::uint8_t*& Buffer, std::uint32_t& Bytes) {
    std::lock_guard lock(FDataLock);
    // Data kept by PeekAhead comes first, or it would be lost.
    if (ReadPeeked(Buffer, Bytes)) return;
    const std::uint32_t requested = Bytes;
    if (FEndReached) {
        Buffer = nullptr;
        Bytes = 0;
        return;
    }
    ReadCounted(Buffer, Bytes);
    if (FEndReached && FLoop) {
        // The call that uses the window up returns a fresh read from its start.
        FEndReached = false;
        if (FSeekable) {
            std::int64_t start = FStartSample;
            DoSeek(start);
        } else {
            Close();
            Open();
        }
        FPosition = 0;
        Bytes = requested;
        ReadCounted(Buffer, Bytes);
    }
}

}  // namespace quorvel
