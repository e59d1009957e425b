#include "TestSupport.h"

#include "audio/pipeline/WindowDispatcher.h"

#include <stdexcept>
#include <thread>

namespace quorvel::test {

bool PumpUntil(const std::function<bool()>& Done, std::chrono::milliseconds Limit) {
    const auto deadline = std::chrono::steady_clock::now() + Limit;
    while (!Done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        WindowDispatcher().Drain();
        std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
    return true;
}

void PumpFor(std::chrono::milliseconds Time) {
    const auto deadline = std::chrono::steady_clock::now() + Time;
    PumpUntil([&] { return std::chrono::steady_clock::now() > deadline; }, Time * 2);
}

std::vector<std::uint8_t> Ramp(std::size_t Count) {
    std::vector<std::uint8_t> bytes(Count);
    for (std::size_t i = 0; i < Count; ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
    return bytes;
}

TMemorySource::TMemorySource(std::vector<std::uint8_t> Data, std::uint32_t BlockBytes, bool Endless)
    : FData(std::move(Data)), FBlockBytes(BlockBytes), FEndless(Endless) {
    FSize = Endless ? -1 : static_cast<std::int64_t>(FData.size());
}

void TMemorySource::SetProgress(std::int64_t Position, std::int64_t Size) {
    FPosition = Position;
    FSize = Size;
}

void TMemorySource::DoOpen() {
    ++OpenCalls;
    if (!FOpenFailure.empty()) throw std::runtime_error(FOpenFailure);
    FBusy = true;
    FPosition = 0;
    FOffset = 0;
}

void TMemorySource::DoClose() {
    ++CloseCalls;
    FBusy = false;
    if (!FCloseFailure.empty()) throw std::runtime_error(FCloseFailure);
}

void TMemorySource::DoRead(const std::uint8_t*& Buffer, std::uint32_t& Bytes) {
    if (FEndless && FOffset == FData.size()) FOffset = 0;
    const std::size_t left = FData.size() - FOffset;
    Bytes = static_cast<std::uint32_t>(std::min<std::size_t>({Bytes, FBlockBytes, left}));
    Buffer = FData.data() + FOffset;
    FOffset += Bytes;
    FPosition += Bytes;
}

TScriptedFilter::TScriptedFilter(std::vector<std::uint32_t> Counts, bool SetsPosition)
    : FCounts(std::move(Counts)), FSetsPosition(SetsPosition) {}

void TScriptedFilter::DoRead(const std::uint8_t*& Buffer, std::uint32_t& Bytes) {
    const std::uint32_t count = FNext < FCounts.size() ? FCounts[FNext++] : 0;
    Bytes = std::min(Bytes, count);
    FBuffer.resize(Bytes);
    for (std::uint32_t i = 0; i < Bytes; ++i) FBuffer[i] = static_cast<std::uint8_t>(i);
    Buffer = FBuffer.data();
    if (FSetsPosition) FPosition += 1;
}

TCollectSink::~TCollectSink() { Shutdown(); }

std::vector<std::uint8_t> TCollectSink::Collected() const {
    std::lock_guard lock(FLock);
    return FCollected;
}

void TCollectSink::FailAt(int Step, std::string Message) {
    FFailAtStep = Step;
    FFailure = std::move(Message);
}

std::promise<void>& TCollectSink::HoldFinish() {
    FFinishGate = std::make_unique<std::promise<void>>();
    return *FFinishGate;
}

void TCollectSink::PrepareOutput() {
    {
        std::lock_guard lock(FLock);
        FCollected.clear();
    }
    Steps = 0;
    Input()->Open();
}

bool TCollectSink::WriteStep(bool Cancelling) {
    if (Cancelling) return false;
    const int step = ++Steps;
    if (step == FFailAtStep) throw std::runtime_error(FFailure);
    if (FStepPause.count() > 0) std::this_thread::sleep_for(FStepPause);
    const std::uint8_t* buffer = nullptr;
    std::uint32_t bytes = 4096;
    Input()->Read(buffer, bytes);
    std::lock_guard lock(FLock);
    FCollected.insert(FCollected.end(), buffer, buffer + bytes);
    return bytes != 0;
}

void TCollectSink::FinishOutput() {
    SawCancelRequested = CancelRequested();
    if (FFinishGate) FFinishGate->get_future().wait();
    FFinishGate.reset();
    Input()->Close();
}

void TEventLog::Attach(TAuOutput& Sink) {
    Sink.SetOnProgress([this](TAuOutput&) {
        ++Progress;
        Events.push_back("progress");
    });
    Sink.SetOnThreadException([this](TAuOutput& Sender) {
        Events.push_back("exception");
        ErrorTexts.push_back(Sender.ErrorText());
    });
    Sink.SetOnDone([this](TAuOutput& Sender) {
        ++Done;
        Events.push_back("done");
        ErrorTexts.push_back(Sender.ErrorText());
    });
}

}  // namespace quorvel::test
