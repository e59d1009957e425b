#include "audio/pipeline/AuThread.h"

#include "audio/pipeline/AuOutput.h"
#include "audio/pipeline/EventHandler.h"

#include <chrono>
#include <exception>

namespace quorvel {

TAuThread::TAuThread(TAuOutput& Sink, TEventHandler& Events)
    : FSink(Sink), FEvents(Events), FThread([this] { Execute(); }) {
    // A Start made before the worker first waits would otherwise be lost.
    std::unique_lock lock(FLock);
    FChanged.wait(lock, [this] { return FIdle.load(); });
}

TAuThread::~TAuThread() { Terminate(); }

void TAuThread::SetIdle(bool Value) {
    {
        std::lock_guard lock(FLock);
        FIdle = Value;
    }
    FChanged.notify_all();
}

void TAuThread::WaitForWake() {
    std::unique_lock lock(FLock);
    FWakePending = false;
    FIdle = true;
    FChanged.notify_all();
    FChanged.wait(lock, [this] { return FWakePending || FTerminated; });
    FWakePending = false;
    // A terminated worker stays idle, so no waiter for the end of a run is left hanging.
    if (!FTerminated) {
        FCurrentRun = FSink.FRunId.load();
        FIdle = false;
    }
    FChanged.notify_all();
}

void TAuThread::PauseHere() {
    std::unique_lock lock(FLock);
    FWakePending = false;
    FPaused = true;
    FPausePending = true;
    FChanged.notify_all();
    FChanged.wait(lock, [this] { return FWakePending || FTerminated; });
    FWakePending = false;
    FPaused = false;
    FChanged.notify_all();
}

void TAuThread::WaitUntilPaused() {
    std::unique_lock lock(FLock);
    FChanged.wait(lock, [this] { return FPausePending || FTerminated; });
    FPausePending = false;
}

void TAuThread::Wake() {
    {
        std::lock_guard lock(FLock);
        FWakePending = true;
    }
    FChanged.notify_all();
}

void TAuThread::MarkRunFinished() {
    {
        std::lock_guard lock(FLock);
        FRunFinished = true;
    }
    FChanged.notify_all();
}

void TAuThread::Execute() {
    WaitForWake();
    while (!FTerminated) {
        RunOnce();
        if (!FTerminated) WaitForWake();
    }
    {
        std::lock_guard lock(FLock);
        FEnded = true;
    }
    FChanged.notify_all();
}

void TAuThread::RunOnce() {
    const std::uint64_t run = FCurrentRun;
    try {
        FSink.PrepareOutput();
        FSink.FWriting = true;
        FPauseRequested = false;
        {
            std::lock_guard lock(FLock);
            FPaused = false;
            FPausePending = false;
        }
        bool more = true;
        while (more && !FStopRequested) {
            if (const int delay = FDelayMs; delay > 5) std::this_thread::sleep_for(std::chrono::milliseconds(delay));
            const int percent = FSink.PercentDone();
            if (percent != FSink.FLastPercent) {
                FSink.FLastPercent = percent;
                if (auto handler = FSink.OnProgress()) FEvents.PostProgress(FSink, std::move(handler), run);
            }
            if (FPauseRequested) {
                FPauseRequested = false;
                PauseHere();
            }
            more = FSink.WriteStep(FStopRequested);
        }
    } catch (const std::exception& error) {
        FSink.SetErrorText(error.what());
        if (auto handler = FSink.OnThreadException()) FEvents.PostThreadException(FSink, std::move(handler), run);
    } catch (...) {
        FSink.SetErrorText("Unknown failure in the audio chain");
        if (auto handler = FSink.OnThreadException()) FEvents.PostThreadException(FSink, std::move(handler), run);
    }
    FStopRequested = false;
    try {
        FSink.EndRun();
    } catch (...) {
        FSink.FBusy = false;
    }
    FEvents.PostDone(FSink, *this, run);
    MarkRunFinished();
}

void TAuThread::BeginRun() {
    std::unique_lock lock(FLock);
    // The previous run may still be posting its done event after EndRun.
    FChanged.wait(lock, [this] { return FIdle.load(); });
    FStopRequested = false;
    FWakePending = true;
    FChanged.notify_all();
    // A short run may already be over again, so wait for its number, not for !Idle.
    const std::uint64_t run = FSink.FRunId;
    FChanged.wait(lock, [&] { return FCurrentRun == run || FTerminated; });
}

void TAuThread::RequestStop(bool DeliverDoneAfterwards) {
    {
        std::lock_guard lock(FLock);
        FDeliverDone = DeliverDoneAfterwards;
        FRunFinished = false;
        FStopRequested = true;
    }
    // The paused check and the wake go together under the lock: a wake sent
    // after the worker went on would stay pending and start a run that no
    // Start asked for once the worker is idle again.
    for (;;) {
        {
            std::lock_guard lock(FLock);
            if (!FPaused) break;
            FWakePending = true;
        }
        FChanged.notify_all();
        std::this_thread::yield();
    }
}

void TAuThread::Terminate() {
    {
        std::lock_guard lock(FLock);
        FTerminated = true;
    }
    FChanged.notify_all();
    if (FThread.joinable()) FThread.join();
}

void TAuThread::WaitRunSettled(std::uint64_t Run) {
    std::unique_lock lock(FLock);
    FChanged.wait(lock, [&] { return FIdle || FCurrentRun > Run || FEnded; });
}

}  // namespace quorvel
