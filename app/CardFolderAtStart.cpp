#include "app/CardFolderAtStart.h"

#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <cerrno>

#include "app/QtText.h"
#include "config/CardError.h"
#include "config/CardFiles.h"
#include "config/InterruptedWrite.h"
#include "shell/CardFolderChooser.h"
#include "shell/MessageBoxes.h"
#include "shell/RemovableCards.h"

namespace quorvel {

namespace {

bool holdsCardFile(const QDir& folder) {
    for (int number : cardFileNumbers()) {
        if (QFileInfo(folder.filePath(QString::fromStdString(cardFileName(number)))).isFile()) return true;
    }
    return false;
}

// The folder's own mode, as it reads for this user: root may write anywhere,
// but a folder made read-only is still no card.
bool modeGrantsWrite(const QFileInfo& folder) {
    if (folder.ownerId() == ::geteuid()) return folder.permission(QFile::WriteOwner);
    if (folder.groupId() == ::getegid()) return folder.permission(QFile::WriteGroup);
    return folder.permission(QFile::WriteOther);
}

// 0 when the folder can hold card files, else the error number.
int unusableBecause(const QString& folder) {
    const QFileInfo info(folder);
    if (!info.exists()) return ENOENT;
    if (!info.isDir()) return ENOTDIR;
    if (!modeGrantsWrite(info)) return EACCES;
    return ::access(QFile::encodeName(folder).constData(), W_OK | X_OK) == 0 ? 0 : errno;
}

bool livesInCard(const ProgramPlace& place) {
    const QDir folder(place.programFolder);
    if (holdsCardFile(folder)) return true;
    if (QFileInfo(place.programFolder).canonicalFilePath() == QFileInfo(place.installedFolder).canonicalFilePath()) {
        return false;
    }
    return unusableBecause(place.programFolder) == 0;
}

QString absoluteWithSeparator(const QString& folder) { return QDir(folder).absolutePath() + QDir::separator(); }

// The one inserted card holding card files, else the card or folder picked;
// an error text when a picked card cannot be mounted.
std::optional<QString> insertedOrChosen(CardFolderChooser& chooser, const RemovableCards* cards, QString& error) {
    std::vector<RemovableVolume> inserted;
    if (cards != nullptr && !cards->list(inserted, error)) error.clear();
    std::vector<QString> holding;
    for (const RemovableVolume& card : inserted) {
        if (!card.mountPoint.isEmpty() && holdsCardFiles(CardFolder(toStdString(card.mountPoint)))) {
            holding.push_back(card.mountPoint);
        }
    }
    if (holding.size() == 1) return holding.front();
    const auto choice = chooser.chooseCardFolder(nullptr, inserted);
    if (!choice) return std::nullopt;
    if (choice->card < 0) return choice->folder;
    const RemovableVolume& card = inserted.at(static_cast<std::size_t>(choice->card));
    if (!card.mountPoint.isEmpty()) return card.mountPoint;
    return cards->mount(card, error);
}

}  // namespace

StartFolder cardFolderAtStart(const ProgramPlace& place, const QStringList& arguments, CardFolderChooser& chooser,
                              MessageBoxes& boxes, const RemovableCards* cards) {
    if (livesInCard(place)) return {absoluteWithSeparator(place.programFolder)};
    std::optional<QString> folder;
    if (arguments.isEmpty()) {
        QString mountError;
        folder = insertedOrChosen(chooser, cards, mountError);
        if (!mountError.isEmpty()) {
            boxes.showError(nullptr, toQString(errorBoxText(toStdString(mountError))));
            return {std::nullopt, 1};
        }
    } else {
        folder = arguments.first();
    }
    if (!folder) return {};
    // A write-protected card opens for reading; the window says why it cannot write.
    if (const int error = unusableBecause(*folder); error != 0 && error != EROFS) {
        boxes.showError(nullptr, toQString(errorBoxText(writeErrorMessage(error))));
        return {std::nullopt, 1};
    }
    return {absoluteWithSeparator(*folder)};
}

}  // namespace quorvel
