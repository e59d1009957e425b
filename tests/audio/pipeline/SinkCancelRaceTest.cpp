#include "TestSupport.h"

#include "audio/pipeline/SchedulePoint.h"

#include <gtest/gtest.h>

#include <thread>

namespace quorvel::test {
namespace {

using namespace std::chrono_literals;

// What the hook does at each point: the window's thread, inside a waiting
// Cancel, lets the held run end and waits until the event thread has taken
// its done record from the queue, before the Cancel mutes and purges.
struct TReplay {
    std::promise<void>* FinishGate = nullptr;
    std::atomic<int> RecordsTaken{0};
    std::atomic<int> RecordsDelivered{0};
    std::atomic<bool> CancelReachedPoint{false};
};
TReplay* Replay = nullptr;

void ReplayHook(TSchedulePoint Point) {
    switch (Point) {
        case TSchedulePoint::CancelStopRequested: {
            Replay->CancelReachedPoint = true;
            Replay->FinishGate->set_value();
            const auto limit = std::chrono::steady_clock::now() + 10s;
            while (Replay->RecordsTaken == 0 && std::chrono::steady_clock::now() < limit) std::this_thread::yield();
            break;
        }
        case TSchedulePoint::RecordTaken:
            ++Replay->RecordsTaken;
            break;
        case TSchedulePoint::RecordDelivered:
            ++Replay->RecordsDelivered;
            break;
    }
}

// The run ends by itself while a waiting Cancel is under way: its done record
// is posted after the Cancel told the worker to stop and taken by the event
// thread before the Cancel purges the queue, so neither the mute nor the purge
// sees it, and the Cancel returns (the run has finished) while the event
// thread still holds the record. The Cancel covers that run all the same.
TEST(SinkCancelRace, DoneTakenFromTheQueueDuringAWaitingCancelIsNeverDelivered) {
    TReplay replay;
    Replay = &replay;
    TMemorySource source(Ramp(64), 64);
    TCollectSink sink;
    // No progress handler: the done record is the only record of the run.
    int done = 0;
    sink.SetOnDone([&](TAuOutput&) { ++done; });
    sink.SetInput(&source);
    replay.FinishGate = &sink.HoldFinish();
    SetSchedulePointHook(ReplayHook);
    sink.Start();
    // The second step finds the source empty: the run has ended on its own
    // and waits in FinishOutput for the gate.
    ASSERT_TRUE(PumpUntil([&] { return sink.Steps >= 2; }));
    sink.Cancel(false);
    ASSERT_TRUE(replay.CancelReachedPoint);
    ASSERT_EQ(replay.RecordsTaken, 1) << "the done record was not taken during the cancel";
    ASSERT_TRUE(PumpUntil([&] { return replay.RecordsDelivered == 1; }));
    SetSchedulePointHook(nullptr);
    PumpFor(50ms);
    EXPECT_EQ(done, 0);
    EXPECT_FALSE(sink.Busy());

    // The next run is not covered by that cancel.
    TMemorySource next(Ramp(300), 100);
    sink.SetInput(&next);
    sink.Start();
    ASSERT_TRUE(PumpUntil([&] { return done == 1; }));
    EXPECT_EQ(sink.Collected(), Ramp(300));
}

}  // namespace
}  // namespace quorvel::test
