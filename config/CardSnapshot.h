// What the card's record files held at one moment, to notice that another
// program wrote them since. Contents, not times: FAT keeps modification
// times to two seconds, and every record file keeps its size.
#pragma once

#include <string>
#include <vector>

#include "CardFolder.h"

namespace quorvel {

class CardSnapshot {
public:
    CardSnapshot() = default;
    // Reads every card file; a missing or unreadable file counts as absent.
    static CardSnapshot take(const CardFolder& card);

    // Whether a file present now differs from what `earlier` saw, or was
    // absent then: what a save would write over. A file removed since is
    // not: a save skips missing files.
    bool changedSince(const CardSnapshot& earlier) const;

private:
    struct File {
        bool present = false;
        std::string bytes;
    };
    std::vector<File> files_;
};

}  // namespace quorvel
