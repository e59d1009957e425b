// "Backup", "Restaura Backup" and the history's restore: whole folders of
// card files copied with the progress panel, and a restore into the card
// shown before it is done and undoable after.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

#include "app/ProgressPanel.h"
#include "operations/session/CardSession.h"

class QTimer;
class QWidget;

namespace quorvel {

class FileSystem;
class FolderBrowser;
class HistoryDialog;
class MessageBoxes;
class TFolderDialog;

class BackupPart : public QObject {
    Q_OBJECT

public:
    // `window` holds the progress panel and parents the dialogs.
    BackupPart(QWidget* window, std::shared_ptr<CardSession> session, const QString& programFolder,
               FileSystem& fileSystem, MessageBoxes& boxes, FolderBrowser& folders);

    // A copy runs: the commands that write or reload the card wait for it.
    bool copying() const { return copying_; }

public Q_SLOTS:
    void btBackupClick();
    void btRestBackUpClick();
    // "Histórico...": the card's versions, one of them restored as above.
    void btHistoricoClick();
    void tAguardaTimer();

Q_SIGNALS:
    void copyStarted();
    void copyFinished();
    // The card now holds other files: the fields show them again.
    void cardRestored();
    void writingStarted();
    // A text for the command strip's notice line.
    void notice(const QString& text);

private:
    // Copies the plain files of `source` into `destination`, a folder that is
    // not the card, with the progress panel.
    void copyFolder(const QString& source, const QString& destination);
    // Runs `copy` with the progress panel and the card's commands held.
    void runCopy(const std::function<void(const CardSession::CopyProgress&)>& copy);
    void holdCardCommands(bool held);
    // A restore whose destination is the card folder: shows what it will
    // change, keeps a safety copy of the card, copies and reloads the fields.
    // `action` names the restore in the card's history.
    void restoreIntoCard(const QString& source, const QString& action);
    bool isCardFolder(const QString& folder) const;
    // The text of the "Confirmação" box before such a restore.
    QString restorePreviewText(const QString& source);
    void showSessionNotices();

    QWidget* window_;
    std::shared_ptr<CardSession> session_;
    QString programFolder_;
    FileSystem& fileSystem_;
    MessageBoxes& boxes_;
    ProgressPanel painel_;
    TFolderDialog* folderDialog_ = nullptr;
    QTimer* tAguarda_ = nullptr;
    HistoryDialog* history_ = nullptr;
    bool copying_ = false;
};

}  // namespace quorvel
