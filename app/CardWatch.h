// The window's claim on its card while it is open, and the watch for card
// files another program changed: lbAlterado tells, "Atualizar" reloads.
#pragma once

#include <QObject>
#include <QString>
#include <memory>

#include "config/CardFolder.h"
#include "operations/session/CardSession.h"

class QFileSystemWatcher;
class QLabel;
class QTimer;
class QWidget;

namespace quorvel {

class CardWatch : public QObject {
    Q_OBJECT

public:
    CardWatch(QWidget* window, std::shared_ptr<CardSession> session, const QString& programFolder,
              FileSystem& fileSystem);

    // lbAlterado, hidden until the card changes under the window.
    QLabel* notice() const { return changedNotice_; }

public Q_SLOTS:
    // Watches the card files again after the window read or wrote them.
    void watchCardFiles();
    // Compares the card files with what the window last loaded or saved and
    // shows lbAlterado when another program changed them; tCartao runs it
    // once the folder watcher has been quiet for a moment.
    void cardFilesChanged();

private:
    std::shared_ptr<CardSession> session_;
    CardFolder card_;
    QFileSystemWatcher* cardWatcher_ = nullptr;
    QTimer* tCartao_ = nullptr;
    QLabel* changedNotice_ = nullptr;
};

}  // namespace quorvel
