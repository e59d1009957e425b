#include "audio/formats/ExistingWave.h"

#include "audio/formats/RiffReader.h"

#include <vector>

namespace quorvel {

namespace {

std::uint16_t U16At(const std::vector<std::uint8_t>& Body, std::size_t Offset) {
    return static_cast<std::uint16_t>(Body[Offset] | Body[Offset + 1] << 8);
}

bool TakeFormat(const std::vector<std::uint8_t>& Body, TExistingWave& Wave) {
    if (Body.size() < 16) return false;
    const std::uint16_t tag = U16At(Body, 0);
    if (tag != 0x0001 && tag != 0x0011) return false;
    Wave.Kind = tag == 0x0001 ? TExistingWave::ekPCM : TExistingWave::ekIMA;
    Wave.Channels = U16At(Body, 2);
    Wave.SampleRate = std::uint32_t{U16At(Body, 4)} | std::uint32_t{U16At(Body, 6)} << 16;
    Wave.BlockAlign = U16At(Body, 12);
    Wave.BitsPerSample = U16At(Body, 14);
    return true;
}

TExistingWave Scan(TAuStream& Stream) {
    TExistingWave wave;
    TRiffReader riff(Stream);
    if (!riff.FindWave()) return {};
    enum { AwaitFormat, AwaitFact, AwaitData } awaited = AwaitFormat;
    std::vector<std::uint8_t> body;
    std::uint8_t tag[4];
    std::uint32_t size;
    while (riff.NextChunk(tag, size)) {
        if (awaited == AwaitFormat && SameTag(tag, "fmt ")) {
            if (!riff.ReadBody(size, body) || !TakeFormat(body, wave)) return {};
            awaited = wave.Kind == TExistingWave::ekIMA ? AwaitFact : AwaitData;
        } else if (awaited == AwaitFact && SameTag(tag, "fact")) {
            if (size < 4) return {};
            wave.FactValueOffset = riff.Offset();
            if (!riff.Skip(size)) return {};
            awaited = AwaitData;
        } else if (awaited == AwaitData && SameTag(tag, "data")) {
            wave.DataSizeOffset = riff.Offset() - 4;
            wave.DataStart = riff.Offset();
            return wave;
        } else if (!riff.Skip(size)) {
            return {};
        }
    }
    return {};
}

}  // namespace

TExistingWave ScanExistingWave(TAuStream& Stream) {
    Stream.Seek(0, TSeekOrigin::soBeginning);
    return Scan(Stream);
}

}  // namespace quorvel
