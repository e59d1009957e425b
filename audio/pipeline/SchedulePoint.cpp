#include "audio/pipeline/SchedulePoint.h"

#include <atomic>

namespace quorvel {

namespace {
std::atomic<TSchedulePointHook> InstalledHook{nullptr};
}

void SetSchedulePointHook(TSchedulePointHook Hook) { InstalledHook = Hook; }

void ReachSchedulePoint(TSchedulePoint Point) {
    if (const TSchedulePointHook hook = InstalledHook.load(std::memory_order_acquire)) hook(Point);
}

}  // namespace quorvel
