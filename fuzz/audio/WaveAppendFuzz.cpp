// Appending starts by scanning the file that is there, whatever it holds:
// the scan must stay inside it and report offsets that lie inside it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "audio/formats/ExistingWave.h"
#include "audio/pipeline/MemoryStream.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quorvel;
    TAuMemoryStream stream(std::vector<std::uint8_t>(data, data + size));
    const TExistingWave wave = ScanExistingWave(stream);
    if (wave.Kind == TExistingWave::ekRefused) return 0;
    const auto end = static_cast<std::int64_t>(size);
    if (wave.DataStart > end || wave.DataSizeOffset + 4 != wave.DataStart) std::abort();
    if (wave.Kind == TExistingWave::ekIMA && (wave.FactValueOffset < 12 || wave.FactValueOffset + 4 > end))
        std::abort();
    return 0;
}
