#include "app/CardFolderAtStart.h"

#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <cerrno>

#include "app/QtText.h"
#include "config/CardError.h"
#include "config/CardFiles.h"
#include "shell/CardFolderChooser.h"
#include "shell/MessageBoxes.h"

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

QString withSeparator(const QString& folder) { return QDir(folder).absolutePath() + QDir::separator(); }

}  // namespace

StartFolder cardFolderAtStart(const ProgramPlace& place, const QStringList& arguments, CardFolderChooser& chooser,
                              MessageBoxes& boxes) {
    if (livesInCard(place)) return {withSeparator(place.programFolder)};
    std::optional<QString> folder;
    if (arguments.isEmpty()) {
        folder = chooser.chooseCardFolder(nullptr);
    } else {
        folder = arguments.first();
    }
    if (!folder) return {};
    if (const int error = unusableBecause(*folder)) {
        boxes.showError(nullptr, toQString(errorBoxText(writeErrorMessage(error))));
        return {std::nullopt, 1};
    }
    return {withSeparator(*folder)};
}

}  // namespace quorvel
