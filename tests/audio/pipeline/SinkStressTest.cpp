#include "TestSupport.h"

#include "audio/pipeline/AuException.h"
#include "audio/pipeline/EventHandler.h"
#include "audio/pipeline/WindowDispatcher.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <thread>

namespace quorvel::test {
namespace {

using namespace std::chrono_literals;

// One sink and what its runs must deliver. After a waiting cancel nothing of
// the earlier runs may arrive, so counting restarts there.
struct TTrackedSink {
    std::unique_ptr<TCollectSink> Sink;
    int Started = 0;
    int Done = 0;
    int Excess = 0;

    void Create(TAuInput& Input) {
        Sink = std::make_unique<TCollectSink>();
        Started = 0;
        Done = 0;
        Sink->SetInput(&Input);
        Sink->SetStepPause(20us);
        Sink->SetOnDone([this](TAuOutput&) {
            if (++Done > Started) ++Excess;
        });
        Sink->SetOnProgress([](TAuOutput& Sender) { static_cast<void>(Sender.PercentDone()); });
    }
};

TEST(SinkStress, StartCancelRestartAndDestroyKeepOneDonePerRun) {
    constexpr int SinkCount = 4;
    constexpr int Operations = 12000;
    std::vector<std::unique_ptr<TMemorySource>> sources;
    std::vector<TTrackedSink> sinks(SinkCount);
    for (int i = 0; i < SinkCount; ++i) {
        sources.push_back(std::make_unique<TMemorySource>(Ramp(2048), 256 * static_cast<std::uint32_t>(i + 1)));
        sinks[i].Create(*sources[i]);
    }
    std::mt19937 random(42);
    int runs = 0;
    int destroyed = 0;
    int excess = 0;
    const auto deadline = std::chrono::steady_clock::now() + 240s;
    for (int op = 0; op < Operations && std::chrono::steady_clock::now() < deadline; ++op) {
        TTrackedSink& tracked = sinks[random() % SinkCount];
        TCollectSink& sink = *tracked.Sink;
        const unsigned choice = random() % 9;
        switch (choice) {
            case 0:
            case 1:
            case 2:
                try {
                    sink.Start();
                    ++tracked.Started;
                    ++runs;
                } catch (const EAuException& error) {
                    ASSERT_STREQ(error.what(), "Component is Busy");
                }
                break;
            case 3:
                sink.Cancel(true);
                break;
            case 4:
            case 7:
                // Case 7: a waiting cancel just as the run ends by itself.
                if (choice == 7)
                    while (sink.Busy() && sink.PercentDone() < 100) std::this_thread::yield();
                sink.Cancel(false);
                ASSERT_FALSE(sink.Busy());
                excess += tracked.Excess;
                tracked.Started = tracked.Done = tracked.Excess = 0;
                break;
            case 5: {
                const std::size_t index = static_cast<std::size_t>(&tracked - sinks.data());
                excess += tracked.Excess;
                tracked.Sink.reset();
                tracked.Create(*sources[index]);
                ++destroyed;
                break;
            }
            case 6: {
                // The run may end between any look at Busy and SetInput's
                // own; only a restart that really happened resets the count.
                const std::uint64_t before = sink.RunsStarted();
                sink.SetInput(sink.Input());
                if (sink.RunsStarted() != before) {
                    tracked.Started = 1;
                    tracked.Done = tracked.Excess = 0;
                    ++runs;
                }
                break;
            }
            default:
                WindowDispatcher().Drain();
                break;
        }
        if (op % 4 == 0) WindowDispatcher().Drain();
    }
    ASSERT_TRUE(PumpUntil(
        [&] {
            for (const auto& tracked : sinks)
                if (tracked.Sink->Busy() || tracked.Done < tracked.Started) return false;
            return true;
        },
        60s));
    PumpFor(150ms);
    for (const auto& tracked : sinks) {
        EXPECT_EQ(tracked.Done, tracked.Started);
        excess += tracked.Excess;
    }
    EXPECT_EQ(excess, 0) << "a done event arrived for a run that had none due";
    EXPECT_GT(runs, 2000);
    RecordProperty("runs", runs);
    RecordProperty("destroyed", destroyed);
    EXPECT_GT(destroyed, 0);
    sinks.clear();
    EXPECT_FALSE(EventThreadActive());
}

}  // namespace
}  // namespace quorvel::test
