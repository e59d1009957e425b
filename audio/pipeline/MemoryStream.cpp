#include "audio/pipeline/MemoryStream.h"

#include "audio/pipeline/AuException.h"

#include <algorithm>
#include <cstring>

namespace quorvel {

std::size_t TAuMemoryStream::Read(void* Buffer, std::size_t Count) {
    const std::size_t available = FPosition < FData.size() ? FData.size() - FPosition : 0;
    const std::size_t count = std::min(Count, available);
    if (count != 0) std::memcpy(Buffer, FData.data() + FPosition, count);
    FPosition += count;
    return count;
}

std::size_t TAuMemoryStream::Write(const void* Buffer, std::size_t Count) {
    if (Count == 0) return 0;
    if (FData.size() < FPosition + Count) FData.resize(FPosition + Count);
    std::memcpy(FData.data() + FPosition, Buffer, Count);
    FPosition += Count;
    return Count;
}

std::int64_t TAuMemoryStream::Seek(std::int64_t Offset, TSeekOrigin Origin) {
    std::int64_t base = 0;
    if (Origin == TSeekOrigin::soCurrent)
        base = static_cast<std::int64_t>(FPosition);
    else if (Origin == TSeekOrigin::soEnd)
        base = static_cast<std::int64_t>(FData.size());
    const std::int64_t target = base + Offset;
    if (target < 0) throw EAuException("Seek before the start of the stream");
    FPosition = static_cast<std::size_t>(target);
    return target;
}

}  // namespace quorvel
