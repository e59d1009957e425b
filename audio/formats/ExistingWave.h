#pragma once

#include "audio/pipeline/AuStream.h"

#include <cstdint>

namespace quorvel {

// What appending needs to know of a WAVE file that is already there.
struct TExistingWave {
    enum TKind { ekRefused = 0, ekPCM = 1, ekIMA = 2 };

    TKind Kind = ekRefused;
    std::uint32_t SampleRate = 0;
    std::uint16_t Channels = 0;
    std::uint16_t BitsPerSample = 0;
    std::uint16_t BlockAlign = 0;
    std::int64_t FactValueOffset = 0;  // IMA only
    std::int64_t DataSizeOffset = 0;
    std::int64_t DataStart = 0;
};

// Scans the file from its start up to its "data" chunk. A format other than
// PCM or IMA ADPCM, an IMA file without a "fact" chunk before "data", or no
// "data" chunk within the header limit gives ekRefused.
TExistingWave ScanExistingWave(TAuStream& Stream);

}  // namespace quorvel
