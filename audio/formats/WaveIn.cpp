#include "audio/formats/WaveIn.h"

#include "audio/formats/AcmCodecs.h"
#include "audio/formats/ImaAdpcm.h"
#include "audio/formats/RiffReader.h"
#include "audio/formats/WaveConverter.h"
#include "audio/pipeline/AuException.h"
#include "audio/pipeline/FileStream.h"
#include "audio/pipeline/Guid.h"
#include "audio/pipeline/SampleConversion.h"

#include <algorithm>
#include <cstring>

namespace quorvel {

namespace {

constexpr TGuid PcmSubFormat = {0x00000001, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
constexpr TGuid FloatSubFormat = {0x00000003, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

// Shortest "fmt " bodies that hold the fields each kind reads.
constexpr std::size_t BasicFormatBytes = 16;
constexpr std::size_t AdpcmFormatBytes = 20;
constexpr std::size_t MsFormatBytes = 22;
constexpr std::size_t ExtensibleFormatBytes = 40;

std::uint16_t U16At(const std::vector<std::uint8_t>& Body, std::size_t Offset) {
    return static_cast<std::uint16_t>(Body[Offset] | Body[Offset + 1] << 8);
}

std::uint32_t U32At(const std::vector<std::uint8_t>& Body, std::size_t Offset) {
    return std::uint32_t{U16At(Body, Offset)} | std::uint32_t{U16At(Body, Offset + 2)} << 16;
}

bool IsAdpcm(TWavType Kind) { return Kind == wtDVIADPCM || Kind == wtMSADPCM; }

}  // namespace

TWaveIn::~TWaveIn() { CloseSource(); }

bool TWaveIn::TakeFormat(const std::vector<std::uint8_t>& Body) {
    if (Body.size() < BasicFormatBytes) return false;
    FChannels = U16At(Body, 2);
    FSampleRate = U32At(Body, 4);
    FBlockAlign = U16At(Body, 12);
    FStoredBits = U16At(Body, 14);
    switch (U16At(Body, 0)) {
        case 0x0001:
            FKind = wtPCM;
            break;
        case 0x0002:
            FKind = wtMSADPCM;
            break;
        case 0x0003:
            FKind = wtIEEEFloat;
            break;
        case 0x0011:
            FKind = wtDVIADPCM;
            break;
        // MPEG Layer-3 and the telephony codecs go through the wave converter.
        case 0x0006:
        case 0x0007:
        case 0x0031:
        case 0x0045:
        case 0x0055:
        case 0x0064:
            FKind = wtACM;
            break;
        case 0xFFFE: {
            if (Body.size() < ExtensibleFormatBytes) return false;
            TGuid subFormat;
            std::memcpy(&subFormat, Body.data() + Body.size() - sizeof subFormat, sizeof subFormat);
            if (SameGuid(subFormat, FloatSubFormat))
                FKind = wtExtIEEEFloat;
            else if (SameGuid(subFormat, PcmSubFormat))
                FKind = wtExtPCM;
            else
                return false;
            break;
        }
        default:
            return false;
    }
    if (IsAdpcm(FKind)) {
        if (Body.size() < AdpcmFormatBytes) return false;
        FSamplesPerBlock = U16At(Body, 18);
    }
    if (FKind == wtMSADPCM) {
        if (Body.size() < MsFormatBytes) return false;
        FPairCount = U16At(Body, 20);
        if (FPairCount > MsMaxCoefficientPairs || Body.size() < MsFormatBytes + 4 * FPairCount) return false;
        for (std::uint32_t i = 0; i < FPairCount; ++i)
            FPairs[i] = {static_cast<std::int16_t>(U16At(Body, MsFormatBytes + 4 * i)),
                         static_cast<std::int16_t>(U16At(Body, MsFormatBytes + 4 * i + 2))};
    }
    return true;
}

bool TWaveIn::ScanHeader() {
    FSize = 0;
    FBitsPerSample = 0;
    FChannels = 0;
    FSampleRate = 0;
    FKind = wtUnsupported;
    TRiffReader riff(*FStream);
    if (!riff.FindWave()) return false;
    enum { AwaitFormat, AwaitFact, AwaitData } awaited = AwaitFormat;
    std::vector<std::uint8_t> body;
    std::uint8_t tag[4];
    std::uint32_t size;
    while (riff.NextChunk(tag, size)) {
        if (awaited == AwaitFormat && SameTag(tag, "fmt ")) {
            if (!riff.ReadBody(size, body) || !TakeFormat(body)) return false;
            awaited = IsAdpcm(FKind) || FKind == wtACM ? AwaitFact : AwaitData;
        } else if (awaited == AwaitFact && SameTag(tag, "fact")) {
            if (size < 4 || !riff.ReadU32(FTotalSamples) || !riff.Skip(size - 4)) return false;
            awaited = AwaitData;
        } else if (awaited == AwaitData && SameTag(tag, "data")) {
            FDataStart = riff.Offset();
            // A size past the end of the file (a cut recording) counts what is there.
            const std::int64_t stored = std::min<std::int64_t>(size, riff.StreamSize() - FDataStart);
            if (!IsAdpcm(FKind) && FKind != wtACM) FSize = stored;
            FDataEnd = FDataStart + stored;
            return true;
        } else if (!riff.Skip(size)) {
            return false;
        }
    }
    return false;
}

bool TWaveIn::SetUpKind() {
    if (FChannels == 0) return false;
    switch (FKind) {
        case wtPCM:
        case wtExtPCM:
            FBitsPerSample = FStoredBits;
            return FStoredBits != 0 && FStoredBits % 8 == 0;
        case wtIEEEFloat:
        case wtExtIEEEFloat:
            FFloat32 = FStoredBits == 32;
            if (!FFloat32) FSize = FSize / 2;
            FBitsPerSample = 32;
            return FStoredBits == 32 || FStoredBits == 64;
        case wtDVIADPCM:
            FBlockFrames = ImaFramesPerBlock(FBlockAlign, FChannels);
            if (FStoredBits != 4 || FBlockFrames == 0) return false;
            if (FSamplesPerBlock == 0 || FSamplesPerBlock > FBlockFrames) return false;
            break;
        case wtMSADPCM:
            FBlockFrames = MsFramesPerBlock(FBlockAlign, FChannels, FSamplesPerBlock);
            if (FBlockFrames == 0) return false;
            break;
        default:
            return false;
    }
    FBitsPerSample = 16;
    FSize = std::int64_t{FTotalSamples} * 2 * FChannels;
    // Blocks are read up to the end of the stream; the sample count stops them.
    FDataEnd = FStream->GetSize();
    return true;
}

bool TWaveIn::OpenConverted() {
    auto converter = std::make_unique<TWaveConverter>();
    FStream->Seek(0, TSeekOrigin::soBeginning);
    const bool loaded = converter->LoadFromStream(*FStream) == 0;
    converter->NewFormat()[0] = 1;  // PCM
    converter->NewFormat()[1] = 0;
    if (!loaded ||
        AcmFormatSuggest(converter->CurrentFormat().data(), converter->NewFormat().data(),
                         TWaveConverter::FormatBufferSize, kAcmFormatSuggestTag) != 0 ||
        converter->Convert() != 0) {
        FFormatValid = false;
        return false;
    }
    FConverted = std::make_unique<TAuMemoryStream>();
    FReplacedStream = FStream;
    FStream = FConverted.get();
    converter->SaveWavToStream(*FConverted);
    FSize = FConverted->GetSize();
    FConverted->Seek(0, TSeekOrigin::soBeginning);
    FFormatValid = ScanHeader() && SetUpKind();
    FKind = wtACM;
    return true;
}

void TWaveIn::OpenSource() {
    std::lock_guard lock(FFileLock);
    FFormatValid = true;
    if (FOpenCount != 0) return;
    FFloat32 = false;
    FKind = wtUnsupported;
    if (!StreamAssigned()) OpenOwnStream(TAuFileStream::fmShareDenyWrite);
    if (!ScanHeader()) FKind = wtUnsupported;
    if (FKind == wtACM) {
        // A failed conversion is not counted as an open.
        if (!OpenConverted()) return;
    } else {
        FFormatValid = SetUpKind();
    }
    if (FFormatValid) {
        const std::size_t blockSamples = IsAdpcm(FKind) ? std::size_t{FBlockFrames} * FChannels : 0;
        FDecoded.assign(std::max<std::size_t>(DecodeBufferBytes / 2, blockSamples), 0);
        FBlock.assign(IsAdpcm(FKind) ? FBlockAlign : 0, 0);
    }
    FOpenCount = 1;
}

void TWaveIn::CloseSource() {
    std::lock_guard lock(FFileLock);
    if (FOpenCount > 0) {
        if (FConverted) {
            FStream = FReplacedStream;
            FReplacedStream = nullptr;
            FConverted.reset();
        }
        ReleaseSourceStream();
    }
    FOpenCount = 0;
}

std::uint32_t TWaveIn::StoredFrameBytes() const {
    if (FKind == wtIEEEFloat || FKind == wtExtIEEEFloat) return FChannels * (FFloat32 ? 4 : 8);
    return FChannels * (FStoredBits / 8);
}

std::uint32_t TWaveIn::ReadBlock() {
    const std::int64_t position = FStream->Position();
    if (position >= FDataEnd) return 0;
    std::fill(FBlock.begin(), FBlock.end(), std::uint8_t{0});
    const auto want = static_cast<std::size_t>(std::min<std::int64_t>(FBlockAlign, FDataEnd - position));
    return static_cast<std::uint32_t>(FStream->Read(FBlock.data(), want));
}

std::uint32_t TWaveIn::Refill() {
    if (!FFormatValid) return 0;
    auto* bytes = reinterpret_cast<std::uint8_t*>(FDecoded.data());
    switch (FKind) {
        case wtPCM:
        case wtExtPCM:
        case wtACM: {
            const std::uint32_t frame = StoredFrameBytes();
            return static_cast<std::uint32_t>(FStream->Read(bytes, DecodeBufferBytes - DecodeBufferBytes % frame));
        }
        case wtIEEEFloat:
        case wtExtIEEEFloat: {
            const std::uint32_t whole = DecodeBufferBytes - DecodeBufferBytes % (FChannels * 8);
            auto got = static_cast<std::uint32_t>(FStream->Read(bytes, whole));
            if (FFloat32) {
                got -= got % 4;
                SinglesToS32InPlace(bytes, got);
                return got;
            }
            got -= got % 8;
            DoublesToS32InPlace(bytes, got);
            return got / 2;
        }
        case wtDVIADPCM:
            if (ReadBlock() == 0) return 0;
            return ImaDecodeBlock(FBlock.data(), FBlockAlign, FChannels, FDecoded.data()) * 2 * FChannels;
        case wtMSADPCM:
            if (ReadBlock() == 0) return 0;
            return MsDecodeBlock(FBlock.data(), FBlockAlign, FChannels, FSamplesPerBlock, FPairs.data(), FPairCount,
                                 FDecoded.data()) *
                   2 * FChannels;
        default:
            return 0;
    }
}

void TWaveIn::DoRead(const std::uint8_t*& Buffer, std::uint32_t& Bytes) {
    if (!FBusy) throw EAuException("The Stream is not opened");
    const std::uint32_t frame = FChannels * FBitsPerSample / 8;
    if (frame == 0) {
        Buffer = nullptr;
        Bytes = 0;
        return;
    }
    if (FBufferStart > FBufferEnd) {
        FBufferStart = 1;
        FBufferEnd = Refill();
    }
    Bytes -= Bytes % frame;
    Bytes = std::min(Bytes, FBufferEnd - FBufferStart + 1);
    Buffer = reinterpret_cast<const std::uint8_t*>(FDecoded.data()) + FBufferStart - 1;
    FBufferStart += Bytes;
}

bool TWaveIn::DoSeek(std::int64_t& Frame) {
    FBufferStart = 1;
    FBufferEnd = 0;
    if (!FFormatValid) return false;
    std::int64_t position;
    switch (FKind) {
        case wtPCM:
        case wtExtPCM:
        case wtIEEEFloat:
        case wtExtIEEEFloat:
            position = Frame * StoredFrameBytes() + FDataStart;
            break;
        case wtDVIADPCM:
        case wtMSADPCM: {
            // Decoding resumes at the first frame of the block that holds Frame.
            const std::int64_t block = Frame / FBlockFrames;
            Frame = block * FBlockFrames;
            position = block * FBlockAlign + FDataStart;
            break;
        }
        default:
            return false;
    }
    FStream->Seek(position, TSeekOrigin::soBeginning);
    return true;
}

}  // namespace quorvel
