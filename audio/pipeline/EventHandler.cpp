#include "audio/pipeline/EventHandler.h"

#include "audio/pipeline/AuThread.h"
#include "audio/pipeline/SchedulePoint.h"
#include "audio/pipeline/WindowDispatcher.h"

#include <algorithm>
#include <chrono>
#include <vector>

namespace quorvel {

namespace {

// The record whose handler the window's thread is running right now.
struct TDelivery {
    const TEventHandler* Handler = nullptr;
    const TAuEventRecord* Record = nullptr;
};
thread_local TDelivery CurrentDelivery;

constexpr auto QueuePollInterval = std::chrono::milliseconds(100);

}  // namespace

TEventHandler::TEventHandler() : FThread([this] { Execute(); }) {}

TEventHandler::~TEventHandler() {
    Terminate();
    if (FThread.joinable()) FThread.join();
}

void TEventHandler::Terminate() {
    {
        std::lock_guard lock(FQueueLock);
        FTerminated = true;
        FSignalled = true;
    }
    FSignal.notify_all();
}

void TEventHandler::Post(std::unique_ptr<TAuEventRecord> Record) {
    {
        std::lock_guard lock(FQueueLock);
        if (Record->Sender != FMutedSink) FQueue.push_back(std::move(Record));
        FSignalled = true;
    }
    FSignal.notify_all();
}

namespace {

// A record carrying the run that posted it, so that a waiting cancel of that
// run can make it skip delivery.
std::unique_ptr<TAuEventRecord> RecordFor(TAuEventKind Kind, TAuOutput& Sink, std::uint64_t Run) {
    auto record = std::make_unique<TAuEventRecord>();
    record->Kind = Kind;
    record->Sender = &Sink;
    record->Run = Run;
    return record;
}

}  // namespace

void TEventHandler::PostProgress(TAuOutput& Sink, std::function<void(TAuOutput&)> Handler, std::uint64_t Run) {
    auto record = RecordFor(ekProgress, Sink, Run);
    record->Handler = std::move(Handler);
    Post(std::move(record));
}

void TEventHandler::PostThreadException(TAuOutput& Sink, std::function<void(TAuOutput&)> Handler, std::uint64_t Run) {
    auto record = RecordFor(ekThreadException, Sink, Run);
    record->Handler = std::move(Handler);
    Post(std::move(record));
}

void TEventHandler::PostDone(TAuOutput& Sink, TAuThread& Worker, std::uint64_t Run) {
    auto record = RecordFor(ekDone, Sink, Run);
    record->Worker = &Worker;
    Post(std::move(record));
}

void TEventHandler::Mute(const TAuOutput& Sink) {
    std::lock_guard lock(FQueueLock);
    FMutedSink = &Sink;
}

void TEventHandler::Unmute() {
    std::lock_guard lock(FQueueLock);
    FMutedSink = nullptr;
}

void TEventHandler::Purge(const TAuOutput& Sink, std::uint64_t UpToRun) {
    std::vector<std::unique_ptr<TAuEventRecord>> dropped;
    {
        std::lock_guard lock(FQueueLock);
        auto kept = std::stable_partition(FQueue.begin(), FQueue.end(), [&](const auto& record) {
            return record->Sender != &Sink || record->Run > UpToRun;
        });
        std::move(kept, FQueue.end(), std::back_inserter(dropped));
        FQueue.erase(kept, FQueue.end());
    }
}

void TEventHandler::ForgetSink(const TAuOutput& Sink) {
    Purge(Sink);
    WaitDraining([&] {
        std::lock_guard lock(FQueueLock);
        if (FCurrent == nullptr || FCurrent->Sender != &Sink) return true;
        // Destroyed from inside its own handler: the event thread touches the
        // sink no more once that handler returns.
        return CurrentDelivery.Record == FCurrent;
    });
}

bool TEventHandler::DeliveringOnThisThread() const { return CurrentDelivery.Handler == this; }

std::unique_ptr<TAuEventRecord> TEventHandler::TakeFirst() {
    std::unique_lock lock(FQueueLock);
    if (FQueue.empty()) {
        FSignal.wait_for(lock, QueuePollInterval, [this] { return FSignalled; });
        FSignalled = false;
        if (FQueue.empty()) return nullptr;
    }
    auto record = std::move(FQueue.front());
    FQueue.pop_front();
    FCurrent = record.get();
    return record;
}

void TEventHandler::Execute() {
    while (!FTerminated) {
        auto record = TakeFirst();
        if (!record) continue;
        ReachSchedulePoint(TSchedulePoint::RecordTaken);
        Deliver(*record);
        {
            std::lock_guard lock(FQueueLock);
            FCurrent = nullptr;
        }
        ReachSchedulePoint(TSchedulePoint::RecordDelivered);
    }
    FEnded = true;
}

void TEventHandler::RunOnWindowThread(const TAuEventRecord& Record, const std::function<void()>& Call) {
    WindowDispatcher().RunAndWait([&] {
        const TDelivery outer = CurrentDelivery;
        CurrentDelivery = {this, &Record};
        try {
            Call();
        } catch (...) {
            CurrentDelivery = outer;
            throw;
        }
        CurrentDelivery = outer;
    });
}

void TEventHandler::Deliver(TAuEventRecord& Record) {
    if (Record.Kind == ekDone) {
        DeliverDone(Record);
        return;
    }
    // Nothing here may touch the sink after its handler returns: the handler
    // may have destroyed it.
    RunOnWindowThread(Record, [&Record] {
        TAuOutput& sink = *Record.Sender;
        if (sink.EventIsCurrent(Record.Run) && Record.Handler) Record.Handler(sink);
    });
}

void TEventHandler::DeliverDone(TAuEventRecord& Record) {
    TAuOutput& sink = *Record.Sender;
    Record.Worker->WaitRunSettled(Record.Run);
    sink.ClearBusyAfterRun(Record.Run);
    Purge(sink, Record.Run);
    RunOnWindowThread(Record, [&Record] {
        TAuOutput& target = *Record.Sender;
        if (!target.EventIsCurrent(Record.Run) || !Record.Worker->DeliverDone()) return;
        if (auto handler = target.OnDone()) handler(target);
    });
}

namespace {

std::mutex SharedLock;
std::unique_ptr<TEventHandler> SharedHandler;
int SharedUsers = 0;
// Handlers whose last sink went away inside one of their own deliveries; they
// end as soon as that delivery returns and are joined at the next chance.
std::vector<std::unique_ptr<TEventHandler>> Retired;

void ReapRetired() {
    std::erase_if(Retired, [](const std::unique_ptr<TEventHandler>& handler) {
        return handler->Ended() && !handler->DeliveringOnThisThread();
    });
}

}  // namespace

bool EventThreadActive() {
    std::lock_guard lock(SharedLock);
    return SharedHandler != nullptr ||
           std::any_of(Retired.begin(), Retired.end(), [](const auto& handler) { return !handler->Ended(); });
}

TEventHandler& AcquireEventHandler() {
    std::lock_guard lock(SharedLock);
    ReapRetired();
    if (!SharedHandler) SharedHandler = std::make_unique<TEventHandler>();
    ++SharedUsers;
    return *SharedHandler;
}

void ReleaseEventHandler() {
    std::unique_ptr<TEventHandler> ending;
    {
        std::lock_guard lock(SharedLock);
        ReapRetired();
        if (--SharedUsers > 0) return;
        ending = std::move(SharedHandler);
    }
    ending->Terminate();
    if (ending->DeliveringOnThisThread()) {
        std::lock_guard lock(SharedLock);
        Retired.push_back(std::move(ending));
        return;
    }
    WaitDraining([&] { return ending->Ended(); });
}

}  // namespace quorvel
