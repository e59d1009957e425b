#include "audio/formats/WMIn.h"

#include "audio/pipeline/AuException.h"
#include "audio/pipeline/FileStream.h"

#include <algorithm>
#include <cmath>

namespace quorvel {

namespace {

int ChannelRequest(TChannelsNumber Value) {
    switch (Value) {
        case cnMaxAvailable:
            return -1;
        case cn5dot1:
            return 6;
        case cn7dot1:
            return 8;
        case cnMonoOrStereo:
            break;
    }
    return 0;
}

}  // namespace

TWMIn::~TWMIn() { CloseSource(); }

void TWMIn::Reopen() {
    if (FOpenCount == 0) return;
    CloseSource();
    OpenSource();
}

void TWMIn::SetHighPrecision(bool Value) {
    std::lock_guard lock(FFileLock);
    if (FBusy || FOutputChannels != cnMonoOrStereo) return;
    FHighPrecision = Value;
    Reopen();
}

void TWMIn::SetOutputChannels(TChannelsNumber Value) {
    std::lock_guard lock(FFileLock);
    if (FBusy) return;
    FOutputChannels = Value;
    if (Value != cnMonoOrStereo) FHighPrecision = true;
    Reopen();
}

void TWMIn::OpenSource() {
    std::lock_guard lock(FFileLock);
    if (FOpenCount != 0) return;
    if (!StreamAssigned() && FileName().empty()) throw EAuException("File name is not assigned");
    if (!StreamAssigned()) OpenOwnStream(TAuFileStream::fmShareDenyWrite);
    WmaReaderOpen(FReader, *FStream, FHighPrecision, ChannelRequest(FOutputChannels));
    FFormatValid = FReader.HasAudio;
    if (!FReader.Reader) {
        DropOwnedStream();
        return;
    }
    if (FReader.Protected) {
        WmaReaderClose(FReader);
        ReleaseSourceStream();
        throw EAuException("File is protected");
    }
    FDuration = WmaReaderDurationHundredths(FReader);
    std::int32_t channels = 0;
    std::int32_t bits = 0;
    std::int32_t rate = 0;
    WmaReaderFormat(FReader, channels, bits, rate);
    FChannels = static_cast<std::uint32_t>(channels);
    FBitsPerSample = static_cast<std::uint32_t>(bits);
    FSampleRate = static_cast<std::uint32_t>(rate);
    FFrameCount = static_cast<std::int64_t>(double(FDuration) / 100.0 * rate);
    FSize = FFrameCount * channels * (bits / 8);
    FSourceFrames = FFrameCount;
    FSeekable = true;
    FId3v2Tags.SetArtist(WmaReaderAttribute(FReader, "Author"));
    FId3v2Tags.SetTitle(WmaReaderAttribute(FReader, "Title"));
    FId3v2Tags.SetAlbum(WmaReaderAttribute(FReader, "WM/AlbumTitle"));
    FId3v2Tags.SetGenre(WmaReaderAttribute(FReader, "WM/Genre"));
    FId3v2Tags.SetTrack(WideToLatin1(WmaReaderAttribute(FReader, "WM/Track")));
    FId3v2Tags.SetYear(WideToLatin1(WmaReaderAttribute(FReader, "WM/Year")));
    FId3v2Tags.SetComment(WmaReaderAttribute(FReader, "Copyright"));
    ++FOpenCount;
}

void TWMIn::CloseSource() {
    std::lock_guard lock(FFileLock);
    if (FOpenCount <= 0) return;
    WmaReaderClose(FReader);
    FOpenCount = 0;
    ReleaseSourceStream();
}

void TWMIn::DoRead(const std::uint8_t*& Buffer, std::uint32_t& Bytes) {
    if (!FBusy) throw EAuException("The Stream is not opened");
    const std::int64_t size = FSize;
    if (size > 0) Bytes = static_cast<std::uint32_t>(std::clamp<std::int64_t>(size - FPosition, 0, Bytes));
    WmaReaderRead(FReader, Buffer, Bytes, Bytes);
}

bool TWMIn::DoSeek(std::int64_t& Frame) {
    // Without a known length there is no time to seek to.
    if (!FBusy || FSourceFrames <= 0) return false;
    WmaReaderSeek(FReader,
                  static_cast<std::uint32_t>(std::nearbyint(double(Frame) / double(FSourceFrames) * FDuration)));
    return true;
}

TMP3In::~TMP3In() { CloseSource(); }

void TMP3In::OpenSource() {
    std::lock_guard lock(FFileLock);
    if (FOpenCount != 0) return;
    TWMIn::OpenSource();
    FDecoderEnded = false;
    if (FOpenCount == 0) return;
    // A damaged info frame can claim any length: no more frames than the
    // smallest MP3 frames (24 bytes for 576 samples) could fit in the file.
    const std::int64_t fileBytes = FStream != nullptr ? FStream->GetSize() : 0;
    const std::int64_t frameBytes = std::int64_t{FBitsPerSample / 8} * FChannels;
    FFrameCount = std::min<std::int64_t>(FFrameCount, fileBytes * 24);
    const std::uint32_t third = FSampleRate / 3;
    FFrameCount += third;
    FSize = FFrameCount * frameBytes;
    FSourceFrames = FFrameCount;
    FEstimatedFrames = FFrameCount;
}

void TMP3In::DoRead(const std::uint8_t*& Buffer, std::uint32_t& Bytes) {
    if (!FBusy) throw EAuException("The Stream is not opened");
    if (FDecoderEnded) {
        Buffer = nullptr;
        Bytes = 0;
        return;
    }
    // A play window sets its own length.
    if (FStartSample > 0 || FEndSample != -1) {
        TWMIn::DoRead(Buffer, Bytes);
        return;
    }
    const std::int64_t third = std::int64_t{FSampleRate / 3} * (FBitsPerSample / 8) * FChannels;
    WmaReaderRead(FReader, Buffer, Bytes, Bytes);
    if (Bytes != 0) {
        // Sound past the estimate is kept: the size stays ahead of it, or
        // the read that reaches it would end the run.
        if (FPosition + Bytes + third > FSize) FSize = FPosition + Bytes + third;
        return;
    }
    // The size the run ends with: the silence the sink completes it with
    // reaches the estimate but never exceeds the third of a second; nothing
    // decoded is no recording, and no silence is made up for it.
    FDecoderEnded = true;
    const std::int64_t expected = FEstimatedFrames * (FBitsPerSample / 8) * FChannels;
    FSize = FPosition + (FPosition == 0 ? 0 : std::clamp<std::int64_t>(expected - FPosition, 0, third));
}

bool TMP3In::DoSeek(std::int64_t& Frame) {
    FDecoderEnded = false;
    return TWMIn::DoSeek(Frame);
}

}  // namespace quorvel
