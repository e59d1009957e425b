// Per-run overhead of a sink: Start to the delivery of OnDone for an empty
// input, with the window's thread draining the dispatcher as its loop would.
#include "audio/pipeline/AuOutput.h"
#include "audio/pipeline/WindowDispatcher.h"

#include <benchmark/benchmark.h>

namespace quorvel {
namespace {

class TEmptySource : public TAuInput {
public:
    int GetBitsPerSample() override { return 16; }
    int GetChannels() override { return 1; }
    int GetSampleRate() override { return 8000; }

protected:
    void DoOpen() override { FBusy = true; }
    void DoClose() override { FBusy = false; }
    void DoRead(const std::uint8_t*& Buffer, std::uint32_t& Bytes) override {
        Buffer = nullptr;
        Bytes = 0;
    }
};

class TNullSink : public TAuOutput {
public:
    ~TNullSink() override { Shutdown(); }

protected:
    void PrepareOutput() override { Input()->Open(); }
    bool WriteStep(bool) override {
        const std::uint8_t* buffer = nullptr;
        std::uint32_t bytes = 4096;
        Input()->Read(buffer, bytes);
        return bytes != 0;
    }
    void FinishOutput() override { Input()->Close(); }
};

void BM_StartToOnDone(benchmark::State& State) {
    TEmptySource source;
    TNullSink sink;
    bool done = false;
    sink.SetInput(&source);
    sink.SetOnDone([&](TAuOutput&) { done = true; });
    for (auto _ : State) {
        done = false;
        sink.Start();
        while (!done) WindowDispatcher().Drain();
    }
    State.SetItemsProcessed(State.iterations());
}
BENCHMARK(BM_StartToOnDone)->UseRealTime();

}  // namespace
}  // namespace quorvel
