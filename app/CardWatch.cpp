#include "app/CardWatch.h"

#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QLabel>
#include <QTimer>

#include "app/QtText.h"
#include "config/CardFiles.h"

namespace quorvel {

namespace {

constexpr int kChangeSettleMs = 200;

}  // namespace

CardWatch::CardWatch(QWidget* window, std::shared_ptr<CardSession> session, const QString& programFolder,
                     FileSystem& fileSystem)
    : QObject(window), session_(std::move(session)), card_(toStdString(programFolder), fileSystem) {
    session_->holdForWindow();
    changedNotice_ = new QLabel(window);
    changedNotice_->setObjectName(QStringLiteral("lbAlterado"));
    changedNotice_->setText(QString::fromUtf8("Cartão alterado por outro programa: Atualizar recarrega"));
    changedNotice_->setStyleSheet(QStringLiteral("color: red;"));
    changedNotice_->hide();
    cardWatcher_ = new QFileSystemWatcher(this);
    cardWatcher_->addPath(programFolder);
    // A save renames 113 files: one comparison after the burst of signals.
    tCartao_ = new QTimer(this);
    tCartao_->setObjectName(QStringLiteral("tCartao"));
    tCartao_->setSingleShot(true);
    tCartao_->setInterval(kChangeSettleMs);
    connect(cardWatcher_, &QFileSystemWatcher::directoryChanged, tCartao_, qOverload<>(&QTimer::start));
    connect(cardWatcher_, &QFileSystemWatcher::fileChanged, tCartao_, qOverload<>(&QTimer::start));
    connect(tCartao_, &QTimer::timeout, this, &CardWatch::cardFilesChanged);
}

void CardWatch::watchCardFiles() {
    changedNotice_->hide();
    // A file replaced by a rename is no longer watched under its name.
    QStringList names;
    for (int number : cardFileNumbers()) names << toQString(card_.cardFilePath(cardFileName(number)));
    for (const QString& watched : cardWatcher_->files()) names.removeAll(watched);
    for (const QString& name : names) {
        if (QFileInfo::exists(name)) cardWatcher_->addPath(name);
    }
}

void CardWatch::cardFilesChanged() { changedNotice_->setVisible(session_->changedSinceLoad()); }

}  // namespace quorvel
