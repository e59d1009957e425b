#pragma once

#include "audio/pipeline/MemoryStream.h"

#include <array>
#include <cstdint>

namespace quorvel {

// The data of a compressed RIFF/WAVE image, converted to PCM by the audio
// compression manager. The stream's contents are the "data" chunk's body,
// after Convert the PCM.
class TWaveConverter : public TAuMemoryStream {
public:
    static constexpr std::size_t FormatBufferSize = 129;
    // A "fmt " body that does not fit the format buffer.
    static constexpr int FormatTooLong = 1;
    // The multimedia code of an image that could not be written.
    static constexpr int FileNotSaved = 286;

    using TFormatBuffer = std::array<std::uint8_t, FormatBufferSize>;

    TWaveConverter();

    // Reads a RIFF/WAVE image from Stream's position: the "fmt " body into
    // CurrentFormat, the "data" body into the contents. Chunks are found at
    // any offset. 0, or FormatTooLong with nothing loaded.
    int LoadFromStream(TAuStream& Stream);
    // From CurrentFormat to NewFormat; afterwards CurrentFormat is NewFormat.
    int Convert();
    // A PCM image of CurrentFormat and the contents, with a 16-byte "fmt ".
    int SaveWavToStream(TAuStream& Destination);

    TFormatBuffer& CurrentFormat() { return FCurrentFormat; }
    TFormatBuffer& NewFormat() { return FNewFormat; }

private:
    std::uint32_t FMaxFormatSize;
    TFormatBuffer FCurrentFormat{};
    TFormatBuffer FNewFormat{};
};

}  // namespace quorvel
