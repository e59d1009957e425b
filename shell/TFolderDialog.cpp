#include "shell/TFolderDialog.h"

#include <QDir>
#include <QFileInfo>
#include <QRect>
#include <QWidget>
#include <algorithm>
#include <exception>

namespace quorvel {
namespace {

struct OptionFlag {
    TFolderDialog::TOption option;
    unsigned flag;
};

constexpr OptionFlag kOptionFlags[] = {
    {TFolderDialog::fdoBrowseForComputer, 0x1000}, {TFolderDialog::fdoBrowseForPrinter, 0x2000},
    {TFolderDialog::fdoDontgoBelowDomain, 0x0002}, {TFolderDialog::fdoReturnFSAncestors, 0x0008},
    {TFolderDialog::fdoReturnOnlyFSDirs, 0x0001},  {TFolderDialog::fdoStatusText, 0x0004},
    {TFolderDialog::fdoNewDialogStyle, 0x0040},    {TFolderDialog::fdoNoNewFolderButton, 0x0200},
};

}  // namespace

TFolderDialog::TFolderDialog(FolderBrowser& browser, QWidget* owner)
    : QObject(owner), browser_(browser), owner_(owner), directory_(QDir::currentPath()) {}

unsigned TFolderDialog::browseFlags() const {
    unsigned flags = 0;
    for (const OptionFlag& entry : kOptionFlags) {
        if (options_.testFlag(entry.option)) flags |= entry.flag;
    }
    return flags;
}

bool TFolderDialog::Execute() {
    if (!QFileInfo(directory_).isDir()) directory_ = QDir::currentPath();
    const FolderBrowseRequest request{caption_,      title_,    directory_,
                                      browseFlags(), position_, QPoint(std::max(x_, 0), std::max(y_, 0))};
    std::optional<FolderChoice> choice;
    try {
        choice = browser_.browse(owner_, request);
    } catch (const std::exception&) {
        return false;
    }
    if (!choice || !QDir::isAbsolutePath(choice->path)) return false;
    directory_ = choice->path;
    imageIndex_ = choice->imageIndex;
    return true;
}

QPoint folderDialogPosition(TDialogPosition position, QPoint xy, const QRect& window, const QRect& desktop) {
    switch (position) {
        case fdpScreenCenter:
            return {desktop.width() / 2 - window.width() / 2, desktop.height() / 2 - window.height() / 2};
        case fdpXY:
            return {std::max(xy.x(), 0), std::max(xy.y(), 0)};
        case fdpDefault:
            break;
    }
    return window.topLeft();
}

}  // namespace quorvel
