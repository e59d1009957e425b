#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <vector>

namespace quorvel {

class TAuInput;

// A filter or sink that reads from a source; told when that source goes away
// so that it never keeps a dangling Input.
class TAuInputUser {
public:
    virtual void InputRemoved(TAuInput& Removed) = 0;

protected:
    ~TAuInputUser() = default;
};

// Base of every audio source: interleaved little-endian PCM frames, pulled
// block by block through Read. Every public data operation runs under DataLock.
class TAuInput {
public:
    TAuInput() = default;
    TAuInput(const TAuInput&) = delete;
    TAuInput& operator=(const TAuInput&) = delete;
    virtual ~TAuInput();

    virtual int GetBitsPerSample() = 0;
    virtual int GetChannels() = 0;
    virtual int GetSampleRate() = 0;
    virtual int GetDurationSeconds();
    virtual std::int64_t GetFrameCount();
    virtual void SetHighBitPass(bool Value);
    // On entry Bytes is the most wanted; on return Buffer points into memory of
    // this source, valid until its next call, and Bytes is the count delivered
    // (0 = the source has ended).
    virtual void Read(const std::uint8_t*& Buffer, std::uint32_t& Bytes);
    virtual void ForceClose();
    virtual void PeekAhead(std::uint32_t Bytes);
    virtual void SpareHookA();
    virtual void SpareHookB();

    void Open();
    void Close();

    std::int64_t Position() const { return FPosition; }
    std::int64_t Size() const { return FSize; }
    std::uint16_t FrameSize() const { return FFrameSize; }
    bool Busy() const { return FBusy; }
    bool EndReached() const { return FEndReached; }
    bool KeepHighBit() const { return FKeepHighBit; }

    void AddUser(TAuInputUser& User);
    void RemoveUser(TAuInputUser& User);

protected:
    virtual void DoOpen() = 0;
    virtual void DoClose() = 0;
    virtual void DoRead(const std::uint8_t*& Buffer, std::uint32_t& Bytes) = 0;

    // True when a Read can be served from data that PeekAhead kept; serves it.
    bool ReadPeeked(const std::uint8_t*& Buffer, std::uint32_t& Bytes);

    // Position and Size are read by the window's thread while a worker reads.
    std::atomic<std::int64_t> FPosition{0};
    std::atomic<std::int64_t> FSize{0};
    std::atomic<std::uint16_t> FFrameSize{0};
    std::atomic<bool> FBusy{false};
    std::atomic<bool> FEndReached{false};
    std::atomic<bool> FKeepHighBit{false};
    std::uint32_t FBufferStart = 0;
    std::uint32_t FBufferEnd = 0;
    // Recursive: PeekAhead reads, and a looping read closes and reopens, under it.
    std::recursive_mutex FDataLock;
    std::vector<std::uint8_t> FPeekBuffer;
    std::uint32_t FPeekLength = 0;
    std::uint32_t FPeekOffset = 0;

private:
    std::mutex FUsersLock;
    std::vector<TAuInputUser*> FUsers;
};

// Reads once from Input for up to Bytes and copies what came to Dest.
std::uint32_t CopyFromInput(TAuInput& Input, void* Dest, std::uint32_t Bytes);

// Repeats CopyFromInput until Bytes are filled or a read delivers 0; Ended
// tells whether the last read delivered 0.
std::uint32_t FillFromInput(TAuInput& Input, void* Dest, std::uint32_t Bytes, bool& Ended);

}  // namespace quorvel
