#include "TestSupport.h"

#include "audio/pipeline/AuException.h"
#include "audio/pipeline/AuThread.h"
#include "audio/pipeline/EventHandler.h"

#include <gtest/gtest.h>

#include <memory>
#include <thread>

namespace quorvel::test {
namespace {

using namespace std::chrono_literals;

TEST(SinkStart, WithoutInputRaisesThenStartsOnceAssigned) {
    TCollectSink sink;
    TEventLog log;
    log.Attach(sink);
    try {
        sink.Start();
        FAIL() << "Start without input must raise";
    } catch (const EAuException& error) {
        EXPECT_STREQ(error.what(), "Input is not assigned");
    }
    EXPECT_FALSE(sink.Busy());

    TMemorySource source(Ramp(10000), 1000);
    sink.SetInput(&source);
    sink.Start();
    ASSERT_TRUE(PumpUntil([&] { return log.Done == 1; }));
    EXPECT_EQ(sink.Collected(), Ramp(10000));
    EXPECT_EQ(sink.ErrorText(), "");
    EXPECT_FALSE(sink.Busy());
    EXPECT_FALSE(source.Busy());
}

TEST(SinkStart, SecondStartDuringRunIsRefusedAndKeepsTheRunsError) {
    TMemorySource source(Ramp(4096), 64, true);
    TCollectSink sink;
    TEventLog log;
    log.Attach(sink);
    sink.SetInput(&source);
    sink.FailAt(3, "disk full");
    std::promise<void>& finish = sink.HoldFinish();
    sink.Start();
    // The step has failed and the run is held in FinishOutput, still Busy.
    ASSERT_TRUE(PumpUntil([&] { return sink.ErrorText() == "disk full"; }));
    try {
        sink.Start();
        FAIL() << "Start during a run must raise";
    } catch (const EAuException& error) {
        EXPECT_STREQ(error.what(), "Component is Busy");
    }
    EXPECT_EQ(sink.ErrorText(), "disk full");
    finish.set_value();
    ASSERT_TRUE(PumpUntil([&] { return log.Done == 1; }));
    EXPECT_EQ(log.ErrorTexts.back(), "disk full");
}

TEST(SinkProgress, PercentDoneRoundsHalvesToEvenAndReportsUnknownLength) {
    TMemorySource source({});
    TCollectSink sink;
    EXPECT_EQ(sink.PercentDone(), 0) << "no input";
    sink.SetInput(&source);
    const struct {
        std::int64_t Position, Size;
        int Percent;
    } cases[] = {{1, 8, 12},       {3, 8, 38},  {4, 8, 50}, {5, 1000, 0},
                 {995, 1000, 100}, {7, -1, -1}, {7, 0, 0},  {8, 8, 100}};
    for (const auto& c : cases) {
        source.SetProgress(c.Position, c.Size);
        EXPECT_EQ(sink.PercentDone(), c.Percent) << c.Position << " of " << c.Size;
    }
}

TEST(SinkFailure, ExceptionInWriteStepEndsRunWithErrorThenDone) {
    TMemorySource source(Ramp(100000), 100);
    TCollectSink sink;
    TEventLog log;
    log.Attach(sink);
    sink.SetOnProgress({});
    sink.SetInput(&source);
    sink.FailAt(5, "write failed");
    sink.Start();
    ASSERT_TRUE(PumpUntil([&] { return log.Done == 1; }));
    EXPECT_EQ(log.Events, (std::vector<std::string>{"exception", "done"}));
    EXPECT_EQ(log.ErrorTexts, (std::vector<std::string>{"write failed", "write failed"}));
    EXPECT_EQ(sink.ErrorText(), "write failed");
    EXPECT_FALSE(sink.Busy());
    EXPECT_FALSE(source.Busy()) << "FinishOutput still runs after a failure";

    // The next clean run clears the error.
    sink.FailAt(0, "");
    sink.Start();
    ASSERT_TRUE(PumpUntil([&] { return log.Done == 2; }));
    EXPECT_EQ(sink.ErrorText(), "");
}

TEST(SinkCancel, WaitingCancelReturnsWithTheRunOverAndNothingOfItIsDeliveredAfter) {
    TMemorySource source(Ramp(4096), 16, true);
    TCollectSink sink;
    TEventLog log;
    log.Attach(sink);
    sink.SetInput(&source);
    sink.Start();
    // Not pumping: the progress event waits in the event thread meanwhile.
    while (sink.Steps < 3) std::this_thread::yield();
    sink.Cancel(false);
    // The run is over once it is marked finished; the worker turns idle just after.
    EXPECT_TRUE(sink.Worker().RunFinished() || sink.Worker().Idle());
    EXPECT_FALSE(sink.Busy());
    EXPECT_TRUE(sink.SawCancelRequested);
    PumpFor(200ms);
    EXPECT_EQ(log.Progress, 0);
    EXPECT_EQ(log.Done, 0);

    // The sink is usable again and delivers as before.
    TMemorySource finite(Ramp(300), 100);
    sink.SetInput(&finite);
    sink.Start();
    ASSERT_TRUE(PumpUntil([&] { return log.Done == 1; }));
    EXPECT_EQ(sink.Collected(), Ramp(300));
}

TEST(SinkCancel, ImmediateCancelStillDeliversDone) {
    TMemorySource source(Ramp(4096), 16, true);
    TCollectSink sink;
    TEventLog log;
    log.Attach(sink);
    sink.SetInput(&source);
    sink.Start();
    sink.Cancel(true);
    ASSERT_TRUE(PumpUntil([&] { return log.Done == 1; }));
    EXPECT_FALSE(sink.Busy());
    EXPECT_EQ(sink.ErrorText(), "");
    EXPECT_TRUE(sink.SawCancelRequested);
    PumpFor(50ms);
    EXPECT_EQ(log.Done, 1);
}

TEST(SinkCancel, CancelOnIdleSinkDoesNotMarkTheNextRunCancelled) {
    TMemorySource source(Ramp(100), 10);
    TCollectSink sink;
    TEventLog log;
    log.Attach(sink);
    sink.SetInput(&source);
    sink.Cancel(false);
    sink.Start();
    ASSERT_TRUE(PumpUntil([&] { return log.Done == 1; }));
    EXPECT_FALSE(sink.SawCancelRequested);
    EXPECT_EQ(sink.Collected(), Ramp(100));
}

TEST(SinkInput, SettingInputOnRunningSinkRestartsOnTheNewInput) {
    TMemorySource endless(Ramp(4096), 16, true);
    TMemorySource second(Ramp(5000), 500);
    TCollectSink sink;
    TEventLog log;
    log.Attach(sink);
    sink.SetInput(&endless);
    sink.Start();
    ASSERT_TRUE(PumpUntil([&] { return sink.Steps > 3; }));
    sink.SetInput(&second);
    ASSERT_TRUE(PumpUntil([&] { return log.Done == 1; }));
    EXPECT_EQ(sink.Collected(), Ramp(5000));
    EXPECT_FALSE(endless.Busy());
    PumpFor(50ms);
    EXPECT_EQ(log.Done, 1) << "the cancelled run delivers no done event";
}

TEST(SinkInput, DestroyedSourceIsDroppedByItsUsers) {
    auto source = std::make_unique<TMemorySource>(Ramp(10));
    TCollectSink sink;
    TScriptedFilter filter({});
    sink.SetInput(source.get());
    filter.SetInput(source.get());
    source.reset();
    EXPECT_EQ(sink.Input(), nullptr);
    EXPECT_EQ(filter.Input(), nullptr);
    EXPECT_THROW(sink.Start(), EAuException);
}

TEST(SinkLifetime, DestroyingRunningSinkStopsItWithoutDone) {
    TMemorySource source(Ramp(4096), 16, true);
    TEventLog log;
    auto sink = std::make_unique<TCollectSink>();
    log.Attach(*sink);
    sink->SetOnProgress({});
    sink->SetInput(&source);
    sink->Start();
    ASSERT_TRUE(PumpUntil([&] { return sink->Steps > 3; }));
    sink.reset();
    EXPECT_FALSE(source.Busy()) << "the run was ended through FinishOutput";
    PumpFor(100ms);
    EXPECT_EQ(log.Done, 0);
}

TEST(SinkLifetime, DestroyingSinkWhileItsDoneIsBeingDeliveredIsSafe) {
    TMemorySource source(Ramp(100), 10);
    TEventLog log;
    auto sink = std::make_unique<TCollectSink>();
    log.Attach(*sink);
    sink->SetInput(&source);
    sink->Start();
    // The run ends while nobody drains: the event thread holds its done
    // record, waiting for the window's thread.
    while (sink->Busy()) std::this_thread::sleep_for(1ms);
    std::this_thread::sleep_for(30ms);
    sink.reset();
    PumpFor(50ms);
    EXPECT_EQ(log.Done, 0);
}

TEST(SinkLifetime, SinkMayDestroyItselfInsideItsOwnHandlers) {
    TMemorySource source(Ramp(1000), 10);
    auto first = std::make_unique<TCollectSink>();
    auto second = std::make_unique<TCollectSink>();
    int progressSeen = 0;
    bool doneSeen = false;
    first->SetInput(&source);
    first->SetOnProgress([&](TAuOutput&) {
        ++progressSeen;
        first.reset();
    });
    first->Start();
    ASSERT_TRUE(PumpUntil([&] { return first == nullptr; }));
    EXPECT_EQ(progressSeen, 1);

    // The last sink destroyed inside its OnDone: the event thread must end
    // once the handler returns, and a new sink must work afterwards.
    second->SetInput(&source);
    second->SetOnDone([&](TAuOutput&) {
        doneSeen = true;
        second.reset();
    });
    second->Start();
    ASSERT_TRUE(PumpUntil([&] { return doneSeen; }));
    EXPECT_TRUE(PumpUntil([] { return !EventThreadActive(); }, 500ms));

    TCollectSink third;
    TEventLog log;
    log.Attach(third);
    third.SetInput(&source);
    third.Start();
    ASSERT_TRUE(PumpUntil([&] { return log.Done == 1; }));
}

TEST(SinkLifetime, LastSinkEndsTheEventThread) {
    ASSERT_FALSE(EventThreadActive());
    auto first = std::make_unique<TCollectSink>();
    EXPECT_TRUE(EventThreadActive());
    auto second = std::make_unique<TCollectSink>();
    first.reset();
    EXPECT_TRUE(EventThreadActive());
    second.reset();
    EXPECT_FALSE(EventThreadActive());
}

TEST(SinkRestart, EveryQuickRestartDeliversItsOwnDone) {
    TMemorySource source(Ramp(64), 64);
    TCollectSink sink;
    TEventLog log;
    log.Attach(sink);
    sink.SetInput(&source);
    // Restart as soon as EndRun has cleared Busy, before the done event of
    // the previous run has been delivered.
    for (int run = 0; run < 20; ++run) {
        while (sink.Busy()) std::this_thread::yield();
        sink.Start();
    }
    ASSERT_TRUE(PumpUntil([&] { return log.Done == 20; }));
    PumpFor(50ms);
    EXPECT_EQ(log.Done, 20);
}

TEST(SinkRestart, StartFromInsideOnDoneRunsAgain) {
    TMemorySource source(Ramp(64), 64);
    TCollectSink sink;
    int done = 0;
    sink.SetInput(&source);
    sink.SetOnDone([&](TAuOutput& Sender) {
        if (++done < 5) Sender.Start();
    });
    sink.Start();
    ASSERT_TRUE(PumpUntil([&] { return done == 5; }));
}

TEST(SinkWorker, RequestedPauseHoldsTheRunUntilWoken) {
    TMemorySource source(Ramp(1000), 100, true);
    TCollectSink sink;
    sink.SetInput(&source);
    sink.Start();
    // A pause asked before the run has prepared its output is dropped with it.
    ASSERT_TRUE(PumpUntil([&] { return sink.Steps > 2; }));
    sink.Worker().RequestPause();
    sink.Worker().WaitUntilPaused();
    EXPECT_TRUE(sink.Worker().Paused());
    const int steps = sink.Steps;
    PumpFor(30ms);
    EXPECT_EQ(sink.Steps, steps);
    sink.Worker().Wake();
    EXPECT_TRUE(PumpUntil([&] { return sink.Steps > steps + 2; }));
    EXPECT_FALSE(sink.Worker().Paused());
    sink.Cancel(false);
}

TEST(SinkWorker, WaitingCancelReleasesAPausedWorker) {
    TMemorySource source(Ramp(1000), 100, true);
    TCollectSink sink;
    sink.SetInput(&source);
    sink.Start();
    // A pause asked before the run has prepared its output is dropped with it.
    ASSERT_TRUE(PumpUntil([&] { return sink.Steps > 2; }));
    sink.Worker().RequestPause();
    sink.Worker().WaitUntilPaused();
    sink.Cancel(false);
    EXPECT_FALSE(sink.Worker().Paused());
    EXPECT_TRUE(sink.Worker().RunFinished() || sink.Worker().Idle());
    EXPECT_TRUE(PumpUntil([&] { return sink.Worker().Idle(); }));
}

TEST(SinkWorker, DelayAbove5MsSleepsBeforeEachStep) {
    TMemorySource source(Ramp(300), 100);
    TCollectSink sink;
    TEventLog log;
    log.Attach(sink);
    sink.SetInput(&source);
    sink.Worker().SetDelayMs(10);
    const auto begin = std::chrono::steady_clock::now();
    sink.Start();
    ASSERT_TRUE(PumpUntil([&] { return log.Done == 1; }));
    // Four steps: three blocks and the one that finds the end.
    EXPECT_GE(std::chrono::steady_clock::now() - begin, 40ms);
}

TEST(SinkProgress, ProgressIsPostedOnlyWhenThePercentageChanges) {
    TMemorySource source(Ramp(1000), 1);
    TCollectSink sink;
    TEventLog log;
    log.Attach(sink);
    sink.SetInput(&source);
    sink.Start();
    ASSERT_TRUE(PumpUntil([&] { return log.Done == 1; }));
    // 1001 steps over 0..100 percent: 100 changes from the initial 0.
    EXPECT_EQ(log.Progress, 100);
}

}  // namespace
}  // namespace quorvel::test
