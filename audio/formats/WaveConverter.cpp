#include "audio/formats/WaveConverter.h"

#include "audio/formats/AcmCodecs.h"
#include "riff/RiffChunks.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace quorvel {

namespace {

constexpr std::size_t kFormatExBytes = 18;

void WriteU32(TAuStream& Stream, std::uint32_t Value) {
    const std::uint8_t bytes[4] = {static_cast<std::uint8_t>(Value), static_cast<std::uint8_t>(Value >> 8),
                                   static_cast<std::uint8_t>(Value >> 16), static_cast<std::uint8_t>(Value >> 24)};
    Stream.Write(bytes, 4);
}

}  // namespace

TWaveConverter::TWaveConverter() : FMaxFormatSize(std::min<std::uint32_t>(AcmMaxFormatSize(), FormatBufferSize)) {}

int TWaveConverter::LoadFromStream(TAuStream& Stream) {
    std::uint8_t head[12];
    if (Stream.Read(head, 12) != 12 || std::memcmp(head, "RIFF", 4) != 0 || std::memcmp(head + 8, "WAVE", 4) != 0)
        return 0;
    const std::int64_t start = Stream.Position() - 12;
    RiffChunkWalk walk(
        [&Stream, start](std::uint64_t Offset, std::uint8_t* Into, std::size_t Count) -> std::size_t {
            Stream.Seek(start + static_cast<std::int64_t>(Offset), TSeekOrigin::soBeginning);
            return Stream.Read(Into, Count);
        },
        12, static_cast<std::uint64_t>(Stream.GetSize() - start));
    RiffChunk chunk;
    // The data may be cut short by the end of the file: what is there counts.
    while (walk.next(chunk, true)) {
        const auto remaining = static_cast<std::uint64_t>(Stream.GetSize() - start) - chunk.bodyOffset;
        const auto body = static_cast<std::uint32_t>(std::min<std::uint64_t>(chunk.size, remaining));
        Stream.Seek(start + static_cast<std::int64_t>(chunk.bodyOffset), TSeekOrigin::soBeginning);
        if (std::memcmp(chunk.tag, "fmt ", 4) == 0) {
            if (chunk.size > FormatBufferSize) {
                FCurrentFormat.fill(0);
                SetSize(0);
                return FormatTooLong;
            }
            std::fill(FCurrentFormat.begin(), FCurrentFormat.begin() + kFormatExBytes, std::uint8_t{0});
            Stream.Read(FCurrentFormat.data(), body);
        } else if (std::memcmp(chunk.tag, "data", 4) == 0 && body > 0) {
            std::vector<std::uint8_t> data(body);
            data.resize(Stream.Read(data.data(), body));
            SetSize(0);
            Seek(0, TSeekOrigin::soBeginning);
            Write(data.data(), data.size());
        }
        if (chunk.size > remaining) break;
    }
    Seek(0, TSeekOrigin::soBeginning);
    return 0;
}

int TWaveConverter::Convert() {
    TAcmStream stream;
    int result = stream.Open(FCurrentFormat.data(), FNewFormat.data());
    if (result != 0) return result;
    std::uint32_t length = 0;
    result = stream.Size(Data().data(), static_cast<std::uint32_t>(Data().size()), length);
    if (result != 0) return result;
    std::vector<std::uint8_t> converted(length, 0);
    Seek(0, TSeekOrigin::soBeginning);
    std::uint32_t used = 0;
    result = stream.Convert(Data().data(), static_cast<std::uint32_t>(Data().size()), converted.data(), length, used);
    if (result != 0) return result;
    std::copy_n(FNewFormat.begin(), FMaxFormatSize, FCurrentFormat.begin());
    // What the codec did not produce of the estimate stays silent.
    SetSize(0);
    Write(converted.data(), converted.size());
    Seek(0, TSeekOrigin::soBeginning);
    stream.Close();
    return 0;
}

int TWaveConverter::SaveWavToStream(TAuStream& Destination) {
    const std::int64_t position = Position();
    try {
        Destination.Write("RIFF", 4);
        WriteU32(Destination, 0);
        Destination.Write("WAVEfmt ", 8);
        WriteU32(Destination, 16);
        Destination.Write(FCurrentFormat.data(), 16);
        Destination.Write("data", 4);
        WriteU32(Destination, static_cast<std::uint32_t>(Data().size()));
        Destination.Write(Data().data(), Data().size());
        Destination.Seek(0, TSeekOrigin::soBeginning);
        Destination.Write("RIFF", 4);
        WriteU32(Destination, static_cast<std::uint32_t>(Destination.GetSize() - 8));
    } catch (...) {
        Seek(position, TSeekOrigin::soBeginning);
        return FileNotSaved;
    }
    Seek(position, TSeekOrigin::soBeginning);
    return 0;
}

}  // namespace quorvel
