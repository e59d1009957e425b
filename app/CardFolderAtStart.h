// Where the program finds the card it edits. A copy that lives in the card
// edits its own folder. An installed copy (its folder holds no card file and
// is read-only, or is where the package puts programs) edits the folder given
// as its argument, or else the one the technician picks at start.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace quorvel {

class CardFolderChooser;
class MessageBoxes;

struct ProgramPlace {
    QString programFolder;    // the program file's folder
    QString installedFolder;  // where the package installs programs
};

// The card folder, ending with a separator; nothing when the program is to
// end: the picker was cancelled, or the folder does not exist or cannot be
// written (its error box has been shown).
std::optional<QString> cardFolderAtStart(const ProgramPlace& place, const QStringList& arguments,
                                         CardFolderChooser& chooser, MessageBoxes& boxes);

}  // namespace quorvel
