#include "PcmSource.h"

#include <algorithm>
#include <stdexcept>

namespace quorvel::test {

TPcmSource::TPcmSource(std::vector<std::uint8_t> Data, int Bits, int Channels, int Rate, std::uint32_t BlockBytes)
    : FData(std::move(Data)),
      FBits(Bits),
      FChannels(Channels),
      FRate(Rate),
      FBlockBytes(BlockBytes),
      FReportedSize(static_cast<std::int64_t>(FData.size())) {}

void TPcmSource::DoOpen() {
    FBusy = true;
    FPosition = 0;
    FOffset = 0;
    FSize = FReportedSize;
}

void TPcmSource::DoRead(const std::uint8_t*& Buffer, std::uint32_t& Bytes) {
    if (!FFailure.empty() && FOffset >= FFailAfter) throw std::runtime_error(FFailure);
    const std::size_t left = FData.size() - FOffset;
    Bytes = static_cast<std::uint32_t>(std::min<std::size_t>({Bytes, FBlockBytes, left}));
    Buffer = FData.data() + FOffset;
    FOffset += Bytes;
    FPosition += Bytes;
}

}  // namespace quorvel::test
