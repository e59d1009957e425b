#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

namespace quorvel {

class TAuOutput;
class TEventHandler;

// The worker of one sink: waits idle until a Start, runs PrepareOutput, the
// WriteStep loop and EndRun, posts the done event and waits again.
class TAuThread {
public:
    TAuThread(TAuOutput& Sink, TEventHandler& Events);
    TAuThread(const TAuThread&) = delete;
    TAuThread& operator=(const TAuThread&) = delete;
    ~TAuThread();

    bool Idle() const { return FIdle; }
    bool Paused() const { return FPaused; }
    bool RunFinished() const { return FRunFinished; }
    bool DeliverDone() const { return FDeliverDone; }

    // Pause between steps longer than 5 ms each; 0 (the default) never sleeps.
    void SetDelayMs(int Value) { FDelayMs = Value; }
    // The worker stops before its next step until Wake (or a Cancel).
    void RequestPause() { FPauseRequested = true; }
    // Waits until the worker has paused at a requested pause.
    void WaitUntilPaused();
    void Wake();

private:
    friend class TAuOutput;
    friend class TEventHandler;

    void Execute();
    void RunOnce();
    void WaitForWake();
    void PauseHere();
    void SetIdle(bool Value);
    void MarkRunFinished();

    // From the sink: hand a run to the idle worker and wait until it took it.
    void BeginRun();
    void RequestStop(bool DeliverDoneAfterwards);
    void RestoreDeliverDone() { FDeliverDone = true; }
    // Ends the thread; the sink has already cancelled any run.
    void Terminate();
    // From the event thread: wait until the given run is wholly over.
    void WaitRunSettled(std::uint64_t Run);

    TAuOutput& FSink;
    TEventHandler& FEvents;
    std::mutex FLock;
    std::condition_variable FChanged;
    bool FWakePending = false;   // WakeSignal
    bool FPausePending = false;  // PauseSignal
    std::atomic<bool> FIdle{false};
    std::atomic<bool> FStopRequested{false};
    std::atomic<bool> FPauseRequested{false};
    std::atomic<bool> FPaused{false};
    std::atomic<bool> FRunFinished{false};
    std::atomic<bool> FDeliverDone{true};
    std::atomic<bool> FTerminated{false};
    std::atomic<bool> FEnded{false};
    std::atomic<int> FDelayMs{0};
    std::atomic<std::uint64_t> FCurrentRun{0};
    std::thread FThread;
};

}  // namespace quorvel
