#pragma once

#include "audio/pipeline/AuOutput.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

namespace quorvel {

enum TAuEventKind : std::uint8_t { ekProgress = 0, ekDone = 1, ekThreadException = 2 };

struct TAuEventRecord {
    TAuEventKind Kind = ekProgress;
    TAuOutput* Sender = nullptr;
    std::function<void(TAuOutput&)> Handler;  // progress and exception events
    TAuThread* Worker = nullptr;              // done events
    std::uint64_t Run = 0;                    // the run that posted it
};

// The process-wide event thread: delivers the sinks' events, in the order
// posted, on the window's thread through WindowDispatcher().
class TEventHandler {
public:
    TEventHandler();
    TEventHandler(const TEventHandler&) = delete;
    TEventHandler& operator=(const TEventHandler&) = delete;
    ~TEventHandler();

    void Post(std::unique_ptr<TAuEventRecord> Record);
    void PostProgress(TAuOutput& Sink, std::function<void(TAuOutput&)> Handler, std::uint64_t Run);
    void PostThreadException(TAuOutput& Sink, std::function<void(TAuOutput&)> Handler, std::uint64_t Run);
    void PostDone(TAuOutput& Sink, TAuThread& Worker, std::uint64_t Run);
    void Mute(const TAuOutput& Sink);
    void Unmute();
    // Drops the queued records of Sink posted by runs up to Run.
    void Purge(const TAuOutput& Sink, std::uint64_t UpToRun = UINT64_MAX);

    // Drops Sink's queued records and waits (draining the dispatcher) until no
    // record of Sink is being delivered, unless that delivery is the caller's
    // own current handler.
    void ForgetSink(const TAuOutput& Sink);

    void Terminate();
    bool Ended() const { return FEnded; }
    bool DeliveringOnThisThread() const;

private:
    void Execute();
    std::unique_ptr<TAuEventRecord> TakeFirst();
    void Deliver(TAuEventRecord& Record);
    void DeliverDone(TAuEventRecord& Record);
    void RunOnWindowThread(const TAuEventRecord& Record, const std::function<void()>& Call);

    std::mutex FQueueLock;
    std::condition_variable FSignal;
    bool FSignalled = false;
    std::deque<std::unique_ptr<TAuEventRecord>> FQueue;
    const TAuEventRecord* FCurrent = nullptr;
    const TAuOutput* FMutedSink = nullptr;
    std::atomic<bool> FTerminated{false};
    std::atomic<bool> FEnded{false};
    std::thread FThread;
};

// Each sink acquires the shared event thread when constructed and releases it
// when destroyed; the first acquire starts it, the last release ends it.
TEventHandler& AcquireEventHandler();
void ReleaseEventHandler();
// Whether an event thread is running (or still ending after its last sink).
bool EventThreadActive();

}  // namespace quorvel
