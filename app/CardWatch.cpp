// The window's claim on its card: the hold while open, the write lock around
// each write, and the watch for card files another program changed.
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

// Another writer normally finishes within a second; the window waits no
// longer than this before telling the technician.
constexpr auto kWriterWait = std::chrono::seconds(5);
constexpr int kChangeSettleMs = 200;

}  // namespace

void TMainFormQuorvel::buildCardWatch(QLabel* notice) {
    hold_.holdForWindow();
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
    // A file replaced by a rename is no longer watched under its name.
    QStringList names;
    for (int number : cardFileNumbers()) names << toQString(card_.cardFilePath(cardFileName(number)));
    for (const QString& watched : cardWatcher_->files()) names.removeAll(watched);
    for (const QString& name : names) {
        if (QFileInfo::exists(name)) cardWatcher_->addPath(name);
    }
}

std::unique_ptr<CardLock> TMainFormQuorvel::lockCardForWriting(const QString& folder) {
    auto lock = std::make_unique<CardLock>(toStdString(folder), "ajustor-quorvel");
    // The window's own hold does not stop its writes.
    if (lock->lockForWriting(kWriterWait, true) != CardLockResult::Busy) return lock;
    boxes_.showMessage(this, QString::fromUtf8("O cartão está sendo gravado por %1. Tente novamente.")
                                 .arg(toQString(lock->writer().describe())));
    return nullptr;
}

void TMainFormQuorvel::rememberCardFiles() {
    cardFiles_ = CardSnapshot::take(card_);
    changedNotice_->hide();
    watchCardFiles();
}

bool TMainFormQuorvel::cardFilesChangedBehind() const { return CardSnapshot::take(card_).changedSince(cardFiles_); }

void TMainFormQuorvel::cardFilesChanged() { changedNotice_->setVisible(cardFilesChangedBehind()); }

}  // namespace quorvel
