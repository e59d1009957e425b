#pragma once

#include "audio/pipeline/StreamedInput.h"

#include <cstdint>
#include <mutex>
#include <string>

namespace quorvel {

// Base of the file readers. A reader supplies OpenSource (parse the header
// once, keep OpenCount at 1), CloseSource, DoRead and DoSeek; it calls
// CloseSource in its own destructor, since this base cannot reach it there.
class TAuFileIn : public TAuStreamedInput {
public:
    const std::string& FileName() const { return FFileName; }
    const std::u16string& WideFileName() const { return FWideFileName; }
    // Closes the file first.
    void SetFileName(const std::string& Value);

    std::int32_t OpenCount() const { return FOpenCount; }
    bool FormatValid() const { return FFormatValid; }

    // Whether the named file (or the assigned stream) can be read; a valid
    // file stays open for the following Open.
    bool IsValid();
    // While open: moves within the play window. While closed: makes Frame the
    // start of the next run's window.
    bool SeekFrame(std::int64_t Frame);

    // The queries open the file and leave it open until CloseSource.
    int GetBitsPerSample() override;
    int GetChannels() override;
    int GetSampleRate() override;
    int GetDurationSeconds() override;
    std::int64_t GetFrameCount() override;
    void ForceClose() override;
    void SetStream(TAuStream* Value) override;

protected:
    virtual void OpenSource() = 0;
    virtual void CloseSource() = 0;

    void DoOpen() override;
    void DoClose() override;

    // For OpenSource: the stream on WideFileName with the given mode.
    void OpenOwnStream(std::uint16_t Mode);
    // For CloseSource: release an own stream, rewind an assigned seekable one.
    void ReleaseSourceStream();

    std::recursive_mutex FFileLock;
    std::int32_t FOpenCount = 0;
    std::atomic<bool> FFormatValid{false};
    std::uint32_t FBitsPerSample = 0;
    std::uint32_t FSampleRate = 0;
    std::uint32_t FChannels = 0;

private:
    std::string FFileName;
    std::u16string FWideFileName;
};

}  // namespace quorvel
