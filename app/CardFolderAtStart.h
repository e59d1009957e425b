// Where the program finds the card it edits. A copy that lives in the card
// edits its own folder. An installed copy (its folder holds no card file and
// is read-only, or is where the package puts programs) edits the folder given
// as its argument, else the one inserted card that holds card files, or else
// the card or folder the technician picks at start.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace quorvel {

class CardFolderChooser;
class MessageBoxes;
class RemovableCards;

struct ProgramPlace {
    QString programFolder;    // the program file's folder
    QString installedFolder;  // where the package installs programs
};

struct StartFolder {
    // The card folder, ending with a separator; none when the program is to end.
    std::optional<QString> folder;
    // Without a folder: 0 when the picker was cancelled, 1 when the folder
    // does not exist, cannot be written or the card not mounted (its error
    // box has been shown). A card whose file system is read-only is opened.
    int exitCode = 0;
};

// `cards` null, or without an answer from the disk service: no card is offered.
StartFolder cardFolderAtStart(const ProgramPlace& place, const QStringList& arguments, CardFolderChooser& chooser,
                              MessageBoxes& boxes, const RemovableCards* cards = nullptr);

}  // namespace quorvel
