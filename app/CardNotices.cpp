#include "app/CardNotices.h"

#include <sys/statvfs.h>

#include <QBoxLayout>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <algorithm>
#include <cstring>

#include "app/ClickableLabel.h"
#include "app/CommandStrip.h"
#include "app/QtText.h"
#include "config/CardError.h"
#include "operations/CardVolume.h"
#include "shell/ApplicationTitle.h"
#include "shell/MessageBoxes.h"

namespace quorvel {

namespace {

bool readOnlyFileSystem(const QString& folder) {
    struct statvfs status {};
    return ::statvfs(QFile::encodeName(folder).constData(), &status) == 0 && (status.f_flag & ST_RDONLY) != 0;
}

const RemovableVolume* find(const std::vector<RemovableVolume>& volumes, const QString& objectPath) {
    const auto found = std::find_if(volumes.begin(), volumes.end(),
                                    [&](const RemovableVolume& volume) { return volume.objectPath == objectPath; });
    return found == volumes.end() ? nullptr : &*found;
}

}  // namespace

CardNotices::CardNotices(QWidget* window, QBoxLayout* into, const CommandStrip& strip, const QString& cardFolder,
                         MessageBoxes& boxes)
    : QObject(window), window_(window), strip_(strip), cardFolder_(cardFolder), boxes_(boxes) {
    notice_ = new QLabel(window);
    notice_->setObjectName(QStringLiteral("lbCartao"));
    notice_->setTextFormat(Qt::RichText);
    connect(notice_, &QLabel::linkActivated, this, &CardNotices::openInserted);
    eject_ = new QPushButton(QString::fromUtf8("Ejetar cartão"), window);
    eject_->setObjectName(QStringLiteral("btEjetar"));
    eject_->hide();
    connect(eject_, &QPushButton::clicked, this, &CardNotices::ejectCard);
    const int at = into->indexOf(strip.verification);
    into->insertWidget(at, eject_);
    into->insertWidget(at, notice_);

    QString ignored;
    cards_.list(known_, ignored);
    if (const RemovableVolume* volume = RemovableCards::holding(known_, cardFolder_)) {
        card_ = *volume;
        onCard_ = true;
        window_->setWindowTitle(applicationTitle() + QString::fromUtf8(" — ") + card_.name());
        eject_->show();
    }
    if ((onCard_ && card_.readOnly) || readOnlyFileSystem(cardFolder_)) {
        holdWriting(QString::fromUtf8("Cartão protegido contra gravação: aberto somente para leitura"));
    }
    connect(new RemovableCardWatch(cards_, this), &RemovableCardWatch::changed, this, &CardNotices::volumesChanged);
    // Changing pages enables the strip again: held again once that is done.
    if (auto* pages = window_->findChild<QTabWidget*>(QStringLiteral("PageControl1"))) {
        connect(
            pages, &QTabWidget::currentChanged, this,
            [this] {
                if (!writingHeld_.isEmpty()) holdWriting(writingHeld_);
            },
            Qt::QueuedConnection);
    }
}

void CardNotices::say(const QString& text, bool offerOpen) {
    notice_->setText(offerOpen ? text.toHtmlEscaped() + QString::fromUtf8(" — <a href=\"abrir\">Abrir</a>")
                               : text.toHtmlEscaped());
}

void CardNotices::holdWriting(const QString& reason) {
    writingHeld_ = reason;
    for (QPushButton* button : {strip_.save, strip_.clear, strip_.restoreBackup}) button->setEnabled(false);
    say(reason);
}

void CardNotices::volumesChanged() {
    std::vector<RemovableVolume> now;
    QString ignored;
    if (!cards_.list(now, ignored)) return;
    for (const RemovableVolume& volume : now) {
        const RemovableVolume* before = find(known_, volume.objectPath);
        const bool arrived = before == nullptr;
        // The desktop mounts a card a moment after it is inserted.
        const bool mountedSince = before != nullptr && before->mountPoint.isEmpty() && !volume.mountPoint.isEmpty();
        if (onCard_ && volume.objectPath == card_.objectPath) continue;
        if (arrived) say(QString::fromUtf8("Cartão %1 inserido").arg(volume.name()), true);
        if (arrived || (mountedSince && volume.objectPath == inserted_.objectPath)) inserted_ = volume;
    }
    for (const RemovableVolume& volume : known_) {
        if (find(now, volume.objectPath) != nullptr) continue;
        say(QString::fromUtf8("Cartão %1 removido").arg(volume.name()));
        if (volume.objectPath == inserted_.objectPath) inserted_ = {};
    }
    known_ = std::move(now);
}

void CardNotices::openInserted() {
    if (inserted_.objectPath.isEmpty()) return;
    QString folder = inserted_.mountPoint;
    if (folder.isEmpty()) {
        QString error;
        folder = cards_.mount(inserted_, error);
        if (folder.isEmpty()) {
            boxes_.showError(window_, toQString(errorBoxText(toStdString(error))));
            return;
        }
    }
    Q_EMIT openRequested(folder);
}

void CardNotices::ejectCard() {
    if (!onCard_) return;
    if (const CardResult synced = syncVolume(toStdString(cardFolder_)); !synced.ok()) {
        boxes_.showError(window_, toQString(errorBoxText(synced.message)));
        return;
    }
    QString error;
    bool busy = false;
    if (!cards_.unmount(card_, error, busy)) {
        QStringList holders;
        for (const std::string& holder : processesUsingVolume(toStdString(cardFolder_))) holders << toQString(holder);
        if (busy && !holders.isEmpty()) {
            boxes_.showMessage(window_, QString::fromUtf8("O cartão está em uso por %1. Feche-o lá e ejete novamente.")
                                            .arg(holders.join(QStringLiteral(", "))));
        } else {
            boxes_.showError(window_, toQString(errorBoxText(toStdString(error))));
        }
        return;
    }
    eject_->setEnabled(false);
    holdWriting(QString::fromUtf8("Cartão %1 ejetado — pode retirar").arg(card_.name()));
}

void CardNotices::writingStarted() {
    if (onCard_) say(QString::fromUtf8("Gravando no cartão…"));
}

void CardNotices::writingFinished() {
    if (onCard_) say(QString::fromUtf8("Cartão gravado — pode retirar"));
}

}  // namespace quorvel
