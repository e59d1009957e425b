#include "audio/pipeline/WindowDispatcher.h"

#include <chrono>
#include <thread>

namespace quorvel {

void TWindowDispatcher::SetWakeHook(std::function<void()> Hook) {
    std::lock_guard lock(FLock);
    FWakeHook = std::move(Hook);
}

std::size_t TWindowDispatcher::Drain() {
    std::size_t ran = 0;
    for (;;) {
        TPendingCall* call = nullptr;
        {
            std::lock_guard lock(FLock);
            if (FPending.empty()) return ran;
            call = FPending.front();
            FPending.pop_front();
        }
        try {
            call->Call();
        } catch (...) {
            // A handler's failure must not stop the delivery of later events.
        }
        {
            std::lock_guard lock(FLock);
            call->Done = true;
        }
        FCallDone.notify_all();
        ++ran;
    }
}

void TWindowDispatcher::RunAndWait(TCall Call) {
    TPendingCall call{std::move(Call)};
    std::function<void()> hook;
    {
        std::lock_guard lock(FLock);
        FPending.push_back(&call);
        hook = FWakeHook;
    }
    if (hook) hook();
    std::unique_lock lock(FLock);
    FCallDone.wait(lock, [&] { return call.Done; });
}

TWindowDispatcher& WindowDispatcher() {
    static TWindowDispatcher dispatcher;
    return dispatcher;
}

void WaitDraining(const std::function<bool()>& Done) {
    for (int round = 0; !Done(); ++round) {
        WindowDispatcher().Drain();
        if (round < 64)
            std::this_thread::yield();
        else
            std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
}

}  // namespace quorvel
