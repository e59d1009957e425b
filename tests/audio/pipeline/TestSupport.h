#pragma once

#include "audio/pipeline/AuConverter.h"
#include "audio/pipeline/AuOutput.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <future>
#include <mutex>
#include <string>
#include <vector>

namespace quorvel::test {

// Drains the window dispatcher, as the window's event loop would, until Done
// holds or the time is up; returns Done().
bool PumpUntil(const std::function<bool()>& Done, std::chrono::milliseconds Limit = std::chrono::seconds(10));
// Drains the dispatcher for the given time.
void PumpFor(std::chrono::milliseconds Time);

std::vector<std::uint8_t> Ramp(std::size_t Count);

// A source over bytes in memory, handing out at most BlockBytes per Read.
// Endless sources repeat their bytes for ever and report Size -1.
class TMemorySource : public TAuInput {
public:
    explicit TMemorySource(std::vector<std::uint8_t> Data, std::uint32_t BlockBytes = 4096, bool Endless = false);

    int GetBitsPerSample() override { return 16; }
    int GetChannels() override { return 2; }
    int GetSampleRate() override { return 8000; }
    void SpareHookA() override { ++HookACalls; }
    void SpareHookB() override { ++HookBCalls; }

    void SetProgress(std::int64_t Position, std::int64_t Size);
    void FailOpenWith(std::string Message) { FOpenFailure = std::move(Message); }
    void FailCloseWith(std::string Message) { FCloseFailure = std::move(Message); }

    std::atomic<int> OpenCalls{0};
    std::atomic<int> CloseCalls{0};
    int HookACalls = 0;
    int HookBCalls = 0;

protected:
    void DoOpen() override;
    void DoClose() override;
    void DoRead(const std::uint8_t*& Buffer, std::uint32_t& Bytes) override;

private:
    std::vector<std::uint8_t> FData;
    std::uint32_t FBlockBytes;
    bool FEndless;
    std::size_t FOffset = 0;
    std::string FOpenFailure;
    std::string FCloseFailure;
};

// A filter whose DoRead hands out the next count of a script (the bytes are
// a running counter), then 0.
class TScriptedFilter : public TAuConverter {
public:
    explicit TScriptedFilter(std::vector<std::uint32_t> Counts, bool SetsPosition = false);
    void SetSize(std::int64_t Value) { FSize = Value; }

protected:
    void DoOpen() override { FBusy = true; }
    void DoClose() override { FBusy = false; }
    void DoRead(const std::uint8_t*& Buffer, std::uint32_t& Bytes) override;
    bool DoReadSetsPosition() const override { return FSetsPosition; }

private:
    std::vector<std::uint32_t> FCounts;
    std::size_t FNext = 0;
    bool FSetsPosition;
    std::vector<std::uint8_t> FBuffer;
};

// A sink that copies its input into memory, step by step.
class TCollectSink : public TAuOutput {
public:
    TCollectSink() = default;
    ~TCollectSink() override;

    std::vector<std::uint8_t> Collected() const;
    // The step numbered FailAtStep (from 1) raises Message.
    void FailAt(int Step, std::string Message);
    // FinishOutput waits until the returned promise is fulfilled.
    std::promise<void>& HoldFinish();
    void SetStepPause(std::chrono::microseconds Pause) { FStepPause = Pause; }

    std::atomic<int> Steps{0};
    std::atomic<bool> SawCancelRequested{false};

protected:
    void PrepareOutput() override;
    bool WriteStep(bool Cancelling) override;
    void FinishOutput() override;

private:
    mutable std::mutex FLock;
    std::vector<std::uint8_t> FCollected;
    int FFailAtStep = 0;
    std::string FFailure;
    std::chrono::microseconds FStepPause{0};
    std::unique_ptr<std::promise<void>> FFinishGate;
};

// Records the events a sink delivers, in order, with the sink's state at
// delivery.
struct TEventLog {
    std::vector<std::string> Events;
    std::vector<std::string> ErrorTexts;
    int Done = 0;
    int Progress = 0;

    void Attach(TAuOutput& Sink);
};

}  // namespace quorvel::test
