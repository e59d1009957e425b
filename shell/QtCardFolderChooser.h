// The card picked among the inserted ones, or a folder picked in the
// desktop's folder chooser.
#pragma once

#include "shell/CardFolderChooser.h"

namespace quorvel {

class QtCardFolderChooser final : public CardFolderChooser {
public:
    std::optional<CardChoice> chooseCardFolder(QWidget* parent, const std::vector<RemovableVolume>& cards) override;
};

}  // namespace quorvel
