#pragma once

#include "audio/pipeline/AuInput.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

namespace quorvel {

class TAuOutput;
class TAuThread;
class TEventHandler;

using TOutputDoneEvent = std::function<void(TAuOutput& Sender)>;
using TOutputProgressEvent = std::function<void(TAuOutput& Sender)>;
using TThreadExceptionEvent = std::function<void(TAuOutput& Sender)>;

// Base of every sink. A run goes on the sink's own worker thread; progress,
// errors and the end of a run reach the window's thread through the shared
// event thread and the window dispatcher.
//
// Threads: construct, Start, Cancel, set properties and destroy on the
// window's thread, the one that drains WindowDispatcher().
//
// Every concrete sink calls Shutdown() first thing in its destructor, so that
// the worker never runs a step of a half-destroyed sink.
class TAuOutput : private TAuInputUser {
public:
    TAuOutput();
    TAuOutput(const TAuOutput&) = delete;
    TAuOutput& operator=(const TAuOutput&) = delete;
    virtual ~TAuOutput();

    TAuInput* Input() const { return FInput; }
    // On a running sink: cancels the run, switches and starts again.
    virtual void SetInput(TAuInput* Value);

    // Begins a run and returns once the worker has taken it up.
    void Start();
    // ReturnAtOnce true: returns at once, OnDone follows. False: returns when
    // the worker has ended the run; no undelivered event of this sink is
    // delivered afterwards, not even OnDone.
    void Cancel(bool ReturnAtOnce);

    // -1 when the input cannot tell its length, else 0..100.
    int PercentDone() const;
    std::string ErrorText() const;
    bool Busy() const { return FBusy; }
    // How many runs Start has begun on this sink.
    std::uint64_t RunsStarted() const { return FRunId; }

    TOutputDoneEvent OnDone() const;
    void SetOnDone(TOutputDoneEvent Handler);
    TOutputProgressEvent OnProgress() const;
    void SetOnProgress(TOutputProgressEvent Handler);
    TThreadExceptionEvent OnThreadException() const;
    void SetOnThreadException(TThreadExceptionEvent Handler);

    TAuThread& Worker() { return *FWorker; }

protected:
    // One step of output; true while more remains. With Cancelling the sink
    // ends the output and returns false.
    virtual bool WriteStep(bool Cancelling) = 0;
    // Completes the output: headers, closing the file, closing Input.
    virtual void FinishOutput() = 0;
    // Opens the output, opens Input, writes headers.
    virtual void PrepareOutput() = 0;

    bool CancelRequested() const { return FCancelRequested; }
    bool Writing() const { return FWriting; }

    // Stops the worker, waits out any delivery of this sink's events and
    // leaves the event thread. Safe to call more than once.
    void Shutdown();

private:
    friend class TAuThread;
    friend class TEventHandler;

    void InputRemoved(TAuInput& Removed) override;
    void AssignInput(TAuInput* Value);
    void EndRun();
    void SetErrorText(std::string Text);
    // The event thread clears Busy again after a run unless a later Start came.
    void ClearBusyAfterRun(std::uint64_t Run);
    // False for every event of a run that a waiting Cancel covered. Judged on
    // the window's thread at delivery, where Cancel runs too, so it does not
    // matter when the record was posted or taken from the queue.
    bool EventIsCurrent(std::uint64_t Run) const { return Run > FCancelledRun; }

    std::mutex FOutputLock;
    mutable std::mutex FFieldsLock;  // ErrorText and the three handlers
    std::string FErrorText;
    TOutputDoneEvent FOnDone;
    TOutputProgressEvent FOnProgress;
    TThreadExceptionEvent FOnThreadException;
    std::atomic<TAuInput*> FInput{nullptr};
    std::atomic<bool> FBusy{false};
    std::atomic<bool> FCancelRequested{false};
    std::atomic<bool> FWriting{false};
    int FLastPercent = 0;                  // worker only
    std::atomic<std::uint64_t> FRunId{0};  // bumped by each Start
    std::uint64_t FCancelledRun = 0;       // window's thread only: last run a Cancel(false) covered
    bool FShutDown = false;
    TEventHandler& FEvents;
    std::unique_ptr<TAuThread> FWorker;
};

}  // namespace quorvel
