#include "shell/QtCardFolderChooser.h"

#include <QDir>
#include <QFileDialog>

namespace quorvel {

std::optional<QString> QtCardFolderChooser::chooseCardFolder(QWidget* parent) {
    // The desktop mounts memory cards under /media/USER.
    const QString mounts = QStringLiteral("/media/") + qEnvironmentVariable("USER");
    const QString start = QDir(mounts).exists() ? mounts : QDir::homePath();
    const QString folder =
        QFileDialog::getExistingDirectory(parent, QString::fromUtf8("Selecione a pasta do cartão"), start);
    if (folder.isEmpty()) return std::nullopt;
    return folder;
}

}  // namespace quorvel
