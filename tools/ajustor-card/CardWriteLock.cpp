#include "CardWriteLock.h"

#include <chrono>
#include <cmath>
#include <iomanip>

namespace quorvel::card_tool {

std::optional<CardSession::Hold> holdCard(CardSession& session, const std::string& command,
                                          const WriteLockOptions& options, bool reading, std::ostream& err) {
    const std::string& folder = session.folder();
    const auto wait = std::chrono::milliseconds(std::llround(std::max(options.waitSeconds, 0.0) * 1000.0));
    const auto start = std::chrono::steady_clock::now();
    CardSession::HoldResult result = session.hold(wait, options.force || reading, [&](const CardLockHolder& holder) {
        err << folder << ": waiting for " << holder.describe() << ", which is writing the card\n" << std::flush;
    });
    switch (result.lock) {
        case CardLockResult::Taken:
            return std::move(result.hold);
        case CardLockResult::NoLocking:
            err << folder << ": the card cannot be locked here; " << command
                << " goes on and refuses to write over a change made meanwhile\n";
            return std::move(result.hold);
        case CardLockResult::WindowOpen:
            err << folder << ": the card is open in the window of " << result.holder.describe()
                << "; nothing was written (close the window, or repeat with --force)\n";
            return std::nullopt;
        case CardLockResult::Busy:
            break;
    }
    // The time really waited, which a signal or a clock may make differ from --wait.
    const std::chrono::duration<double> waited = std::chrono::steady_clock::now() - start;
    err << folder << ": the card is still being written by " << result.holder.describe() << " after waiting "
        << std::fixed << std::setprecision(1) << waited.count() << " s; nothing was written\n";
    return std::nullopt;
}

}  // namespace quorvel::card_tool
