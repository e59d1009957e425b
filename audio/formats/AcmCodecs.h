#pragma once

#include <cstdint>
#include <memory>

namespace quorvel {

// The audio compression manager that the wave converter relies on, on
// libavcodec: for a compressed WAVE format it suggests a 16-bit PCM target at
// the same rate and channel count, estimates the converted length, and
// converts a whole buffer in one call. Formats are WAVEFORMATEX records
// (little-endian: tag, channels, rate, bytes per second, block alignment,
// bits, extra size, extra bytes). Results are 0 or an ACM error code.

inline constexpr std::uint32_t kAcmFormatSuggestTag = 0x10000;  // keep the target's format tag
inline constexpr int kAcmErrorNotPossible = 512;
inline constexpr int kMmInvalidParameter = 11;

// The largest format record of the codecs offered.
std::uint32_t AcmMaxFormatSize();
// Completes Target (SuggestBytes long) for Source; with kAcmFormatSuggestTag
// Target's format tag must already be PCM.
int AcmFormatSuggest(const std::uint8_t* Source, std::uint8_t* Target, std::uint32_t SuggestBytes, std::uint32_t Flags);
// True for the format tags the converter decodes.
bool AcmKnowsFormatTag(std::uint16_t Tag);

class TAcmConversion;

// One conversion from Source's format to Target's.
class TAcmStream {
public:
    TAcmStream();
    ~TAcmStream();
    TAcmStream(const TAcmStream&) = delete;
    TAcmStream& operator=(const TAcmStream&) = delete;

    int Open(const std::uint8_t* Source, const std::uint8_t* Target);
    // Destination bytes that SourceLength bytes can produce, at most.
    int Size(const std::uint8_t* SourceData, std::uint32_t SourceLength, std::uint32_t& DestinationLength);
    // Converts all of SourceData; Used is what the codec produced.
    int Convert(const std::uint8_t* SourceData, std::uint32_t SourceLength, std::uint8_t* Destination,
                std::uint32_t DestinationLength, std::uint32_t& Used);
    void Close();

private:
    std::unique_ptr<TAcmConversion> FConversion;
};

}  // namespace quorvel
