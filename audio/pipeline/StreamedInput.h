#pragma once

#include "audio/pipeline/AuInput.h"
#include "audio/pipeline/AuStream.h"

#include <memory>

namespace quorvel {

// A source that reads a stream, with a play window of frames
// [StartSample, EndSample] (EndSample -1 = to the end) and optional looping.
class TAuStreamedInput : public TAuInput {
public:
    // Uses Value without taking it over; none returns to an own stream.
    virtual void SetStream(TAuStream* Value);
    TAuStream* Stream() const { return FStream; }
    bool StreamAssigned() const { return FStreamAssigned; }
    bool Seekable() const { return FSeekable; }

    std::int64_t StartSample() const { return FStartSample; }
    void SetStartSample(std::int64_t Value) { FStartSample = Value; }
    std::int64_t EndSample() const { return FEndSample; }
    void SetEndSample(std::int64_t Value) { FEndSample = Value; }
    bool Loop() const { return FLoop; }
    void SetLoop(bool Value) { FLoop = Value; }
    std::int64_t FrameCount() const { return FFrameCount; }

    void Read(const std::uint8_t*& Buffer, std::uint32_t& Bytes) override;

protected:
    // Positions the reader at absolute frame Frame (it may move Frame to the
    // frame reached) and empties its block buffer; false when it cannot.
    virtual bool DoSeek(std::int64_t& Frame) = 0;

    void AdoptStream(std::unique_ptr<TAuStream> Owned);
    void DropOwnedStream();
    bool OwnsStream() const { return FOwnedStream != nullptr; }

    TAuStream* FStream = nullptr;
    std::atomic<bool> FSeekable{true};
    std::atomic<std::int64_t> FStartSample{0};
    std::atomic<std::int64_t> FEndSample{-1};
    std::atomic<std::int64_t> FFrameCount{0};

private:
    // One DoRead with the end and Size rules applied.
    void ReadCounted(const std::uint8_t*& Buffer, std::uint32_t& Bytes);

    std::unique_ptr<TAuStream> FOwnedStream;
    bool FStreamAssigned = false;
    std::atomic<bool> FLoop{false};
};

}  // namespace quorvel
