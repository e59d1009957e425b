// The card folder picked in the desktop's folder chooser.
#pragma once

#include "shell/CardFolderChooser.h"

namespace quorvel {

class QtCardFolderChooser final : public CardFolderChooser {
public:
    std::optional<QString> chooseCardFolder(QWidget* parent) override;
};

}  // namespace quorvel
