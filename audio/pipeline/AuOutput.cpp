#include "audio/pipeline/AuOutput.h"

#include "audio/pipeline/AuException.h"
#include "audio/pipeline/AuThread.h"
#include "audio/pipeline/EventHandler.h"
#include "audio/pipeline/SchedulePoint.h"
#include "audio/pipeline/WindowDispatcher.h"

#include <cmath>

namespace quorvel {

TAuOutput::TAuOutput() : FEvents(AcquireEventHandler()), FWorker(std::make_unique<TAuThread>(*this, FEvents)) {}

TAuOutput::~TAuOutput() { Shutdown(); }

void TAuOutput::Shutdown() {
    if (FShutDown) return;
    FShutDown = true;
    Cancel(false);
    FWorker->Terminate();
    FEvents.ForgetSink(*this);
    if (TAuInput* input = FInput) input->RemoveUser(*this);
    ReleaseEventHandler();
}

void TAuOutput::AssignInput(TAuInput* Value) {
    TAuInput* old = FInput;
    if (old == Value) return;
    if (old != nullptr) old->RemoveUser(*this);
    if (Value != nullptr) Value->AddUser(*this);
    FInput = Value;
}

void TAuOutput::SetInput(TAuInput* Value) {
    if (FBusy) {
        Cancel(false);
        AssignInput(Value);
        Start();
    } else {
        AssignInput(Value);
    }
}

void TAuOutput::InputRemoved(TAuInput& Removed) {
    // Restarting is pointless (there is no input left), and raising from the
    // source's destructor is not an option: cancel and drop it.
    if (FInput != &Removed) return;
    if (FBusy) Cancel(false);
    FInput = nullptr;
}

void TAuOutput::Start() {
    std::lock_guard lock(FOutputLock);
    if (FBusy) throw EAuException("Component is Busy");
    if (FInput == nullptr) throw EAuException("Input is not assigned");
    // Cleared only once the run is sure to start: a refused Start must not
    // wipe the error of the run under way.
    SetErrorText({});
    FCancelRequested = false;
    FBusy = true;
    ++FRunId;
    FWorker->BeginRun();
}

void TAuOutput::Cancel(bool ReturnAtOnce) {
    // Marked before the worker is told: from here on, every event of this run
    // is refused at delivery, whenever it was posted or taken from the queue.
    if (!ReturnAtOnce) FCancelledRun = FRunId;
    FCancelRequested = true;
    FWorker->RequestStop(ReturnAtOnce);
    if (ReturnAtOnce) return;
    ReachSchedulePoint(TSchedulePoint::CancelStopRequested);
    FEvents.Mute(*this);
    FEvents.Purge(*this);
    WaitDraining([this] { return FWorker->Idle() || FWorker->RunFinished(); });
    FEvents.Unmute();
    FWorker->RestoreDeliverDone();
}

int TAuOutput::PercentDone() const {
    const TAuInput* input = FInput;
    if (input == nullptr) return 0;
    const std::int64_t size = input->Size();
    const auto low = static_cast<std::int32_t>(static_cast<std::uint32_t>(size));
    if (low == -1) return -1;
    if (low == 0) return 0;
    const long double ratio = static_cast<long double>(input->Position()) / static_cast<long double>(size);
    return static_cast<int>(std::nearbyint(ratio * 100.0L));
}

std::string TAuOutput::ErrorText() const {
    std::lock_guard lock(FFieldsLock);
    return FErrorText;
}

void TAuOutput::SetErrorText(std::string Text) {
    std::lock_guard lock(FFieldsLock);
    FErrorText = std::move(Text);
}

TOutputDoneEvent TAuOutput::OnDone() const {
    std::lock_guard lock(FFieldsLock);
    return FOnDone;
}

void TAuOutput::SetOnDone(TOutputDoneEvent Handler) {
    std::lock_guard lock(FFieldsLock);
    FOnDone = std::move(Handler);
}

TOutputProgressEvent TAuOutput::OnProgress() const {
    std::lock_guard lock(FFieldsLock);
    return FOnProgress;
}

void TAuOutput::SetOnProgress(TOutputProgressEvent Handler) {
    std::lock_guard lock(FFieldsLock);
    FOnProgress = std::move(Handler);
}

TThreadExceptionEvent TAuOutput::OnThreadException() const {
    std::lock_guard lock(FFieldsLock);
    return FOnThreadException;
}

void TAuOutput::SetOnThreadException(TThreadExceptionEvent Handler) {
    std::lock_guard lock(FFieldsLock);
    FOnThreadException = std::move(Handler);
}

void TAuOutput::EndRun() {
    if (!FBusy) return;
    FWriting = false;
    FinishOutput();
    FCancelRequested = false;
    FBusy = false;
}

void TAuOutput::ClearBusyAfterRun(std::uint64_t Run) {
    std::lock_guard lock(FOutputLock);
    if (FRunId == Run) FBusy = false;
}

}  // namespace quorvel
