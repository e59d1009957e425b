#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>

namespace quorvel {

// Carries calls from the event thread to the window's thread. The event thread
// hands a call over and blocks until the window's thread has run it through
// Drain(); the wake hook tells the window's event loop that a drain is due.
class TWindowDispatcher {
public:
    using TCall = std::function<void()>;

    // Called on the posting thread each time a call becomes pending; it must
    // only schedule a later Drain() (for example a queued call into the event
    // loop), never drain itself.
    void SetWakeHook(std::function<void()> Hook);

    // Runs every pending call on the calling thread; returns how many ran.
    // An exception thrown by a call is dropped so that delivery goes on.
    std::size_t Drain();

    // Queues Call and waits until a Drain() has run it.
    void RunAndWait(TCall Call);

private:
    struct TPendingCall {
        TCall Call;
        bool Done = false;
    };

    std::mutex FLock;
    std::condition_variable FCallDone;
    std::deque<TPendingCall*> FPending;
    std::function<void()> FWakeHook;
};

// The single dispatcher of the process, drained by the window's thread.
TWindowDispatcher& WindowDispatcher();

// Drains the dispatcher until Done() holds; used by waits on the window's
// thread so that the event thread cannot stay blocked on it meanwhile.
void WaitDraining(const std::function<bool()>& Done);

}  // namespace quorvel
