// Asks the technician for the card folder when the program does not live in
// the card. Tests replace it, so they never block on a dialog.
#pragma once

#include <QString>
#include <optional>

class QWidget;

namespace quorvel {

class CardFolderChooser {
public:
    virtual ~CardFolderChooser() = default;

    // The folder picked, or nothing when the technician cancelled.
    virtual std::optional<QString> chooseCardFolder(QWidget* parent) = 0;
};

}  // namespace quorvel
