#include "CardWriteLock.h"

#include <chrono>
#include <cmath>
#include <iomanip>

namespace quorvel::card_tool {

std::unique_ptr<CardLock> lockForWriting(const std::string& folder, const std::string& command,
                                         const WriteLockOptions& options, std::ostream& err) {
    auto lock = std::make_unique<CardLock>(folder, "ajustor-card " + command);
    const auto wait = std::chrono::milliseconds(std::llround(std::max(options.waitSeconds, 0.0) * 1000.0));
    const auto start = std::chrono::steady_clock::now();
    const CardLockResult result = lock->lockForWriting(wait, options.force, [&](const CardLockHolder& holder) {
        err << folder << ": waiting for " << holder.describe() << ", which is writing the card\n" << std::flush;
    });
    switch (result) {
        case CardLockResult::Taken:
            return lock;
        case CardLockResult::NoLocking:
            err << folder << ": the card cannot be locked here; writing without the lock\n";
            return lock;
        case CardLockResult::WindowOpen:
            err << folder << ": the card is open in the window of " << lock->window().describe()
                << "; nothing was written (close the window, or repeat with --force)\n";
            return nullptr;
        case CardLockResult::Busy:
            break;
    }
    // The time really waited, which a signal or a clock may make differ from --wait.
    const std::chrono::duration<double> waited = std::chrono::steady_clock::now() - start;
    err << folder << ": the card is still being written by " << lock->writer().describe() << " after waiting "
        << std::fixed << std::setprecision(1) << waited.count() << " s; nothing was written\n";
    return nullptr;
}

}  // namespace quorvel::card_tool
