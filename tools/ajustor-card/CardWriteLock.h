// The write lock every writing command takes on the folder it writes.
#pragma once

#include <memory>
#include <ostream>
#include <string>

#include "config/CardLock.h"

namespace quorvel::card_tool {

struct WriteLockOptions {
    bool force = false;         // write even though a window has the card open
    double waitSeconds = 30.0;  // how long to wait for another writer
};

// Takes the write lock of `folder` for `command`, saying on `err` when it has
// to wait. Returns null after naming the holder on `err` when a window has
// the card open or another writer kept it for the whole wait.
std::unique_ptr<CardLock> lockForWriting(const std::string& folder, const std::string& command,
                                         const WriteLockOptions& options, std::ostream& err);

}  // namespace quorvel::card_tool
