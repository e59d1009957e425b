#include "shell/QtFolderBrowser.h"

#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QScreen>

#include "shell/TFolderDialog.h"

namespace quorvel {
namespace {
constexpr unsigned kNoNewFolderButtonFlag = 0x0200;
}

std::optional<FolderChoice> QtFolderBrowser::browse(QWidget* owner, const FolderBrowseRequest& request) {
    QFileDialog dialog(owner);
    // Qt's own chooser, so that the instruction can be shown in it.
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    dialog.setOption(QFileDialog::ReadOnly, (request.flags & kNoNewFolderButtonFlag) != 0);
    dialog.setFileMode(QFileDialog::Directory);
    if (!request.caption.isEmpty()) dialog.setWindowTitle(request.caption);
    dialog.setLabelText(QFileDialog::LookIn, request.title);
    dialog.setDirectory(request.directory);
    if (request.position != fdpDefault) {
        dialog.adjustSize();
        const QScreen* screen = QGuiApplication::primaryScreen();
        const QRect desktop = screen != nullptr ? screen->virtualGeometry() : QRect();
        dialog.move(folderDialogPosition(request.position, request.xy, dialog.frameGeometry(), desktop));
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return FolderChoice{QDir(dialog.selectedFiles().constFirst()).absolutePath(), 0};
}

}  // namespace quorvel
