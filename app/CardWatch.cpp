// The window's claim on its card: the hold while open, the hold around each
// write, and the watch for card files another program changed.
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QLabel>
#include <QTimer>

#include "app/MainFormQuorvel.h"
#include "app/QtText.h"
#include "config/CardFiles.h"
#include "shell/MessageBoxes.h"

namespace quorvel {

namespace {

constexpr int kChangeSettleMs = 200;

}  // namespace

void TMainFormQuorvel::buildCardWatch(QLabel* notice) {
    session_->holdForWindow();
    changedNotice_ = notice;
    changedNotice_->setObjectName(QStringLiteral("lbAlterado"));
    changedNotice_->setText(QString::fromUtf8("Cartão alterado por outro programa: Atualizar recarrega"));
    changedNotice_->setStyleSheet(QStringLiteral("color: red;"));
    changedNotice_->hide();
    cardWatcher_ = new QFileSystemWatcher(this);
    cardWatcher_->addPath(programFolder_);
    // A save renames 113 files: one comparison after the burst of signals.
    tCartao_ = new QTimer(this);
    tCartao_->setObjectName(QStringLiteral("tCartao"));
    tCartao_->setSingleShot(true);
    tCartao_->setInterval(kChangeSettleMs);
    connect(cardWatcher_, &QFileSystemWatcher::directoryChanged, tCartao_, qOverload<>(&QTimer::start));
    connect(cardWatcher_, &QFileSystemWatcher::fileChanged, tCartao_, qOverload<>(&QTimer::start));
    connect(tCartao_, &QTimer::timeout, this, &TMainFormQuorvel::cardFilesChanged);
}

void TMainFormQuorvel::watchCardFiles() {
    changedNotice_->hide();
    // A file replaced by a rename is no longer watched under its name.
    QStringList names;
    for (int number : cardFileNumbers()) names << toQString(card_.cardFilePath(cardFileName(number)));
    for (const QString& watched : cardWatcher_->files()) names.removeAll(watched);
    for (const QString& name : names) {
        if (QFileInfo::exists(name)) cardWatcher_->addPath(name);
    }
}

CardSession::Hold TMainFormQuorvel::holdCard() {
    // The window's own writes share one hold; another program's write is
    // waited for by the caller, never here on the window's thread.
    CardSession::HoldResult held = session_->hold(std::chrono::milliseconds(0), true);
    if (!held.hold) {
        boxes_.showMessage(this, QString::fromUtf8("O cartão está sendo gravado por %1. Tente novamente.")
                                     .arg(toQString(held.holder.describe())));
    }
    return std::move(held.hold);
}

void TMainFormQuorvel::cardFilesChanged() { changedNotice_->setVisible(session_->changedSinceLoad()); }

void TMainFormQuorvel::showSessionNotices() {
    for (const std::string& notice : session_->takeNotices()) commands_.notice->setText(toQString(notice));
}

}  // namespace quorvel
