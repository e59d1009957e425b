#include "app/CardWindows.h"

#include <QDir>

#include "app/CardNotices.h"
#include "app/MainFormQuorvel.h"
#include "app/QtText.h"
#include "config/InterruptedWrite.h"
#include "operations/SafetyCopies.h"
#include "operations/session/CardSession.h"
#include "shell/MessageBoxes.h"

namespace quorvel {

namespace {

// Restores are the only writes that keep the card's earlier state.
QString newestSafetyCopy() {
    const QDir parent(toQString(safetyCopiesFolder()));
    const QStringList folders = parent.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    return folders.isEmpty() ? QString() : parent.filePath(folders.last()) + QDir::separator();
}

}  // namespace

void offerLastGoodState(const QString& folder, MessageBoxes& boxes) {
    // The temporary files of a writer still at work are no sign; those of a
    // killed one stay until they have been named.
    const auto session = CardSession::open(toStdString(folder), "ajustor-quorvel");
    const CardSession::Hold hold = session->hold(std::chrono::milliseconds(0), false, {}, true).hold;
    if (!hold) return;
    QStringList signs;
    for (const std::string& name : interruptedWriteSigns(CardFolder(toStdString(folder)))) signs << toQString(name);
    if (signs.isEmpty()) return;
    const QString pulled =
        QString::fromUtf8("O cartão foi retirado durante uma gravação: %1.").arg(signs.join(QStringLiteral(", ")));
    const QString safety = newestSafetyCopy();
    if (safety.isEmpty()) {
        boxes.showMessage(nullptr, pulled + QString::fromUtf8("\n\nNão há cópia de segurança para restaurar; confira "
                                                              "os valores antes de gravar."));
        return;
    }
    if (!boxes.confirm(nullptr, pulled + QString::fromUtf8("\n\nRestaurar o último estado bom do cartão, a cópia de "
                                                           "segurança em %1?")
                                             .arg(safety))) {
        return;
    }
    std::string kept;
    const CardResult result =
        session->restore(toStdString(safety), toStdString(QString::fromUtf8("Restauração de ") + safety), kept);
    if (!result.ok()) {
        boxes.showError(nullptr,
                        QString::fromUtf8("A cópia de segurança não foi restaurada: ") + toQString(result.text()));
    }
}

CardWindows::CardWindows(MessageBoxes& boxes) : boxes_(boxes) {}

CardWindows::~CardWindows() = default;

TMainFormQuorvel* CardWindows::open(const QString& folder) {
    offerLastGoodState(folder, boxes_);
    window_ = std::make_unique<TMainFormQuorvel>(folder, boxes_);
    // The notices belong to the window being replaced: it goes once they are done.
    connect(
        window_->cardNotices(), &CardNotices::openRequested, this, [this](const QString& next) { replace(next); },
        Qt::QueuedConnection);
    window_->show();
    return window_.get();
}

void CardWindows::replace(const QString& folder) {
    if (!window_->FormCloseQuery()) return;
    // The new window shows before the old one goes, so the program never
    // has no window and ends.
    const std::unique_ptr<TMainFormQuorvel> old = std::move(window_);
    open(QDir(folder).absolutePath() + QDir::separator());
}

}  // namespace quorvel
