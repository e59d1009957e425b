// Asks the technician for the card folder when the program does not live in
// the card. Tests replace it, so they never block on a dialog.
#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "shell/RemovableCards.h"

class QWidget;

namespace quorvel {

struct CardChoice {
    QString folder;  // the folder picked, when no offered card was
    int card = -1;   // the offered card picked, which may not be mounted yet
};

class CardFolderChooser {
public:
    virtual ~CardFolderChooser() = default;

    // The inserted `cards` are offered first. Nothing when the technician cancelled.
    virtual std::optional<CardChoice> chooseCardFolder(QWidget* parent, const std::vector<RemovableVolume>& cards) = 0;
};

}  // namespace quorvel
