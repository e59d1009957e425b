#include "shell/QtCardFolderChooser.h"

#include <QDir>
#include <QFileDialog>
#include <QInputDialog>

namespace quorvel {

namespace {

std::optional<QString> pickFolder(QWidget* parent) {
    // The desktop mounts memory cards under /media/USER.
    const QString mounts = QStringLiteral("/media/") + qEnvironmentVariable("USER");
    const QString start = QDir(mounts).exists() ? mounts : QDir::homePath();
    const QString folder =
        QFileDialog::getExistingDirectory(parent, QString::fromUtf8("Selecione a pasta do cartão"), start);
    if (folder.isEmpty()) return std::nullopt;
    return folder;
}

}  // namespace

std::optional<CardChoice> QtCardFolderChooser::chooseCardFolder(QWidget* parent,
                                                                const std::vector<RemovableVolume>& cards) {
    if (!cards.empty()) {
        QStringList items;
        for (const RemovableVolume& card : cards) {
            items << QStringLiteral("%1 (%2)").arg(
                card.name(), card.mountPoint.isEmpty() ? QString::fromUtf8("não montado") : card.mountPoint);
        }
        const QString otherFolder = QString::fromUtf8("Outra pasta…");
        items << otherFolder;
        bool chosen = false;
        const QString item = QInputDialog::getItem(parent, QString::fromUtf8("Cartão"),
                                                   QString::fromUtf8("Selecione o cartão"), items, 0, false, &chosen);
        if (!chosen) return std::nullopt;
        if (item != otherFolder) return CardChoice{QString(), static_cast<int>(items.indexOf(item))};
    }
    const auto folder = pickFolder(parent);
    if (!folder) return std::nullopt;
    return CardChoice{*folder};
}

}  // namespace quorvel
