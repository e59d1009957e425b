#pragma once

#include "audio/formats/TaggedFileIn.h"
#include "audio/formats/WmaSyncReader.h"

#include <cstdint>

namespace quorvel {

enum TChannelsNumber { cnMaxAvailable, cnMonoOrStereo, cn5dot1, cn7dot1 };

// Compressed audio (Windows Media, MP3 and whatever else the decoder knows),
// delivered as 16-bit PCM, or wider with HighPrecision.
class TWMIn : public TAuTaggedFileIn {
public:
    ~TWMIn() override;

    bool HighPrecision() const { return FHighPrecision; }
    // Refused while Busy or while OutputChannels asks for other than mono or stereo.
    void SetHighPrecision(bool Value);
    TChannelsNumber OutputChannels() const { return FOutputChannels; }
    // Refused while Busy; other than cnMonoOrStereo turns HighPrecision on.
    void SetOutputChannels(TChannelsNumber Value);

protected:
    void OpenSource() override;
    void CloseSource() override;
    void DoRead(const std::uint8_t*& Buffer, std::uint32_t& Bytes) override;
    bool DoSeek(std::int64_t& Frame) override;

    // The frames the open expects, whatever play window a run sets.
    std::int64_t FSourceFrames = 0;

    wma_sync_reader FReader;

private:
    void Reopen();

    std::uint32_t FDuration = 0;  // hundredths of a second
    bool FHighPrecision = false;
    TChannelsNumber FOutputChannels = cnMonoOrStereo;
};

// An MP3 source: the decoder's first and last frames come short, so a third of
// a second more than the stated duration is expected and completed with silence.
// The stated duration is only an estimate: everything the decoder gives is
// delivered even past it, and at the end Size() is the length the sink
// completes the run to, never more than a third of a second of silence.
class TMP3In : public TWMIn {
public:
    ~TMP3In() override;

protected:
    void OpenSource() override;
    void DoRead(const std::uint8_t*& Buffer, std::uint32_t& Bytes) override;
    bool DoSeek(std::int64_t& Frame) override;

private:
    std::int64_t FEstimatedFrames = 0;  // the stated duration and the third of a second
    bool FDecoderEnded = false;
};

}  // namespace quorvel
