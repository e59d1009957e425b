#pragma once

namespace quorvel {

// Named moments in the pipeline's threads at which a test can hold one thread
// while it brings another to a chosen state, so that an interleaving which
// otherwise happens only by chance can be replayed every time. With no hook
// installed a point costs one atomic load.
enum class TSchedulePoint {
    CancelStopRequested,  // window's thread: a waiting Cancel has asked the worker to stop
    RecordTaken,          // event thread: a record has been taken from the queue
    RecordDelivered,      // event thread: that record's delivery has ended
};

using TSchedulePointHook = void (*)(TSchedulePoint Point);

// Installs the hook (or none with nullptr); meant for tests only.
void SetSchedulePointHook(TSchedulePointHook Hook);
void ReachSchedulePoint(TSchedulePoint Point);

}  // namespace quorvel
