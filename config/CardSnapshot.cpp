#include "CardSnapshot.h"

#include "CardFiles.h"

namespace quorvel {

CardSnapshot CardSnapshot::take(const CardFolder& card) {
    CardSnapshot snapshot;
    snapshot.files_.reserve(kCardFileCount);
    for (int number : cardFileNumbers()) {
        File file;
        file.present = card.fileSystem().readAll(card.cardFilePath(cardFileName(number)), file.bytes) == 0;
        if (!file.present) file.bytes.clear();
        snapshot.files_.push_back(std::move(file));
    }
    return snapshot;
}

bool CardSnapshot::changedSince(const CardSnapshot& earlier) const {
    if (earlier.files_.size() != files_.size()) return true;
    for (std::size_t i = 0; i < files_.size(); ++i) {
        const File& now = files_[i];
        const File& then = earlier.files_[i];
        if (now.present && (!then.present || now.bytes != then.bytes)) return true;
    }
    return false;
}

}  // namespace quorvel
