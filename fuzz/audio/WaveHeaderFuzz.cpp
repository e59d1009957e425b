// A WAVE file may come from anywhere: the header scan and every decoder
// behind it must take any bytes, read and seek only inside what they hold,
// and deliver whole frames no longer than they announced.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "audio/formats/WaveIn.h"
#include "audio/pipeline/AuException.h"
#include "audio/pipeline/MemoryStream.h"

namespace {

std::int64_t ReadToEnd(quorvel::TWaveIn& Reader, std::uint32_t Request) {
    std::int64_t total = 0;
    for (;;) {
        const std::uint8_t* buffer = nullptr;
        std::uint32_t count = Request;
        Reader.Read(buffer, count);
        if (count == 0) return total;
        if (count > Request) std::abort();
        // Touch the first and last byte so the sanitizers see the range.
        volatile std::uint8_t edges = static_cast<std::uint8_t>(buffer[0] ^ buffer[count - 1]);
        (void)edges;
        total += count;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quorvel;
    TAuMemoryStream stream(std::vector<std::uint8_t>(data, data + size));
    TWaveIn reader;
    reader.SetStream(&stream);
    if (!reader.IsValid()) return 0;
    const std::uint32_t request = size > 0 ? 1 + data[size - 1] * 61U : 1;
    try {
        reader.Open();
        const std::int64_t announced = reader.Size();
        const std::int64_t delivered = ReadToEnd(reader, request);
        if (announced > 0 && delivered > announced) std::abort();
        reader.SeekFrame(static_cast<std::int64_t>(size % 1000));
        ReadToEnd(reader, 65536);
        reader.Close();
    } catch (const EAuException&) {
        // A format the reader refuses to open is a valid answer.
    }
    return 0;
}
