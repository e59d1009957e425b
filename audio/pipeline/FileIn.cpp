#include "audio/pipeline/FileIn.h"

#include "audio/pipeline/AuException.h"
#include "audio/pipeline/FileStream.h"
#include "audio/pipeline/Utf16.h"

#include <algorithm>
#include <cmath>

namespace quorvel {

void TAuFileIn::SetFileName(const std::string& Value) {
    std::lock_guard lock(FFileLock);
    CloseSource();
    FWideFileName = Utf8ToUtf16(Value);
    FFileName = Value;
}

void TAuFileIn::SetStream(TAuStream* Value) {
    std::lock_guard lock(FFileLock);
    CloseSource();
    TAuStreamedInput::SetStream(Value);
}

void TAuFileIn::OpenOwnStream(std::uint16_t Mode) { AdoptStream(std::make_unique<TAuFileStream>(FWideFileName, Mode)); }

void TAuFileIn::ReleaseSourceStream() {
    if (OwnsStream())
        DropOwnedStream();
    else if (FStream != nullptr && FSeekable)
        FStream->Seek(0, TSeekOrigin::soBeginning);
}

bool TAuFileIn::IsValid() {
    std::lock_guard lock(FFileLock);
    if (!StreamAssigned() && FWideFileName.empty()) return FFormatValid;
    try {
        OpenSource();
    } catch (...) {
        FFormatValid = false;
    }
    if (!FFormatValid) {
        if (FOpenCount != 0) {
            try {
                CloseSource();
            } catch (...) {
                // The answer is already known; a failing close changes nothing.
            }
        } else {
            DropOwnedStream();
        }
    }
    return FFormatValid;
}

int TAuFileIn::GetBitsPerSample() {
    std::lock_guard lock(FFileLock);
    OpenSource();
    return static_cast<int>(FBitsPerSample);
}

int TAuFileIn::GetChannels() {
    std::lock_guard lock(FFileLock);
    OpenSource();
    return static_cast<int>(FChannels);
}

int TAuFileIn::GetSampleRate() {
    std::lock_guard lock(FFileLock);
    OpenSource();
    return static_cast<int>(FSampleRate);
}

int TAuFileIn::GetDurationSeconds() {
    std::lock_guard lock(FFileLock);
    OpenSource();
    const std::uint32_t sampleBytes = FBitsPerSample / 8;
    if (FSampleRate == 0 || FChannels == 0 || sampleBytes == 0) return 0;
    const double perSecond = double(FSampleRate) * double(FChannels) * double(sampleBytes);
    return static_cast<int>(std::nearbyint(double(FSize) / perSecond));
}

std::int64_t TAuFileIn::GetFrameCount() {
    std::lock_guard lock(FFileLock);
    OpenSource();
    const std::uint32_t frameBytes = (FChannels * FBitsPerSample) / 8;
    const std::int64_t size = FSize;
    FFrameCount = (size > 0 && frameBytes != 0) ? size / frameBytes : -1;
    return FFrameCount;
}

void TAuFileIn::ForceClose() {
    TAuInput::ForceClose();
    std::lock_guard lock(FFileLock);
    FOpenCount = 0;
}

void TAuFileIn::DoOpen() {
    if (FBusy) throw EAuException("The component is Busy");
    if (!StreamAssigned() && FWideFileName.empty()) throw EAuException("The file name is not assigned");
    FBusy = true;
    FPosition = 0;
    OpenSource();
    const std::uint32_t frameBytes = (FChannels * FBitsPerSample) / 8;
    if (frameBytes == 0 || frameBytes > UINT16_MAX) {
        // No whole frame to hand out: refuse rather than divide by zero.
        CloseSource();
        FBusy = false;
        throw EAuException("The audio format is not supported");
    }
    FFrameSize = static_cast<std::uint16_t>(frameBytes);
    const std::int64_t size = FSize;
    std::int64_t frames = size / frameBytes;
    FFrameCount = frames;
    if (FStartSample > 0) {
        SeekFrame(0);
        FPosition = 0;
    }
    if (FStartSample > 0 || FEndSample != -1) {
        const std::int64_t start = FStartSample;
        if (size > 0) {
            // EndSample is inclusive: the last frame of the data is frames - 1.
            if (FEndSample >= frames) FEndSample = -1;
            const std::int64_t last = FEndSample == -1 ? frames - 1 : FEndSample.load();
            frames = std::max<std::int64_t>(0, last - start + 1);
            FFrameCount = frames;
            FSize = frames * frameBytes;
        } else if (FEndSample != -1) {
            // Length unknown: the window end alone bounds the data.
            frames = std::max<std::int64_t>(0, FEndSample - start + 1);
            FFrameCount = frames;
            FSize = frames * frameBytes;
        }
    }
    FBufferStart = 1;
    FBufferEnd = 0;
}

void TAuFileIn::DoClose() {
    CloseSource();
    FStartSample = 0;
    FEndSample = -1;
    FBusy = false;
}

bool TAuFileIn::SeekFrame(std::int64_t Frame) {
    if (!FSeekable) return false;
    const std::int64_t frameCount = FFrameCount;
    if (frameCount != 0 && frameCount < Frame) return false;
    std::lock_guard lock(FDataLock);
    if (!FBusy) {
        FStartSample = Frame;
        FPosition = Frame * FFrameSize;
        FEndSample = -1;
        return true;
    }
    FPeekLength = 0;
    FPeekOffset = 0;
    bool result = false;
    try {
        Frame += FStartSample;
        result = DoSeek(Frame);
        FPosition = (Frame - FStartSample) * FFrameSize;
    } catch (...) {
        // A reader that cannot seek leaves the result as it stood.
    }
    return result;
}

}  // namespace quorvel
