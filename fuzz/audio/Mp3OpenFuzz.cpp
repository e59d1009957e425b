// Any file may be picked as an MP3: opening must fail cleanly or deliver
// whole frames, never more than Size.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "audio/formats/WMIn.h"
#include "audio/pipeline/MemoryStream.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quorvel;
    TAuMemoryStream file(std::vector<std::uint8_t>(data, data + size));
    TMP3In input;
    input.SetStream(&file);
    if (!input.IsValid()) return 0;
    try {
        input.Open();
    } catch (...) {
        return 0;
    }
    std::int64_t delivered = 0;
    // A bounded read: enough to reach the decoder's every path on small inputs.
    for (int block = 0; block < 64; ++block) {
        const std::uint8_t* buffer = nullptr;
        std::uint32_t count = 4096;
        input.Read(buffer, count);
        if (count == 0) break;
        delivered += count;
    }
    if (input.Size() > 0 && delivered > input.Size()) std::abort();
    // No stated length may promise more than the file's frames can hold (24
    // bytes for 576 samples at the least) and the third of a second of silence.
    const std::int64_t frameBytes = std::int64_t{input.GetChannels()} * (input.GetBitsPerSample() / 8);
    if (input.Size() > (static_cast<std::int64_t>(size) * 24 + input.GetSampleRate() / 3) * frameBytes) std::abort();
    input.Close();
    return 0;
}
