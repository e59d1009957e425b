#pragma once

#include "audio/pipeline/AuStream.h"

#include <vector>

namespace quorvel {

// A stream held in memory, growing as it is written.
class TAuMemoryStream : public TAuStream {
public:
    TAuMemoryStream() = default;
    explicit TAuMemoryStream(std::vector<std::uint8_t> Data) : FData(std::move(Data)) {}

    std::size_t Read(void* Buffer, std::size_t Count) override;
    std::size_t Write(const void* Buffer, std::size_t Count) override;
    std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) override;
    std::int64_t GetSize() override { return static_cast<std::int64_t>(FData.size()); }
    // Cuts or zero-extends the contents; the position stays where it was.
    void SetSize(std::size_t Size) { FData.resize(Size); }

    const std::vector<std::uint8_t>& Data() const { return FData; }

private:
    std::vector<std::uint8_t> FData;
    std::size_t FPosition = 0;
};

}  // namespace quorvel
