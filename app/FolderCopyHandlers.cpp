// Backup, restore and reload: whole folders of card files.
#include <QCoreApplication>
#include <QFrame>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include <QTabWidget>
#include <memory>

#include "app/ClickableLabel.h"
#include "app/MainFormQuorvel.h"
#include "app/QtText.h"
#include "config/CardError.h"
#include "operations/FolderCopy.h"
#include "shell/MessageBoxes.h"
#include "shell/TFolderDialog.h"

namespace quorvel {

namespace {

QString withSeparator(const QString& folder) { return folder.endsWith(u'/') ? folder : folder + u'/'; }

QString notCopiedText(const std::vector<CopyFailure>& failures) {
    QString text = QString::fromUtf8("Os arquivos abaixo não foram copiados:");
    for (const CopyFailure& failure : failures) text += u'\n' + toQString(failure.name);
    return text;
}

QString sameFolderText() { return QString::fromUtf8("A pasta de destino é a pasta de origem: escolha outra pasta."); }

}  // namespace

void TMainFormQuorvel::btBackupClick() {
    if (copying_) return;
    folderDialog_->setTitle(QStringLiteral("Selecione o local de destino do backup."));
    if (!folderDialog_->Execute()) return;
    const QString destination = withSeparator(folderDialog_->Directory());
    if (isCardFolder(destination)) {
        boxes_.showMessage(this, sameFolderText());
        return;
    }
    const CardSession::Hold hold = holdCard();
    if (!hold) return;
    CardSession::BackupResult result;
    runCopy([&](const CardSession::CopyProgress& progress) {
        result = session_->backup(toStdString(destination), progress);
    });
    if (!result.listingError.empty()) {
        boxes_.showMessage(this, QString::fromUtf8("Não foi possível ler a pasta ") + programFolder_);
        return;
    }
    std::vector<CopyFailure> failures;
    for (const auto& [name, reason] : result.failures) failures.push_back({name, reason});
    if (!failures.empty()) boxes_.showMessage(this, notCopiedText(failures));
}

void TMainFormQuorvel::btRestBackUpClick() {
    if (copying_) return;
    folderDialog_->setTitle(QStringLiteral("Selecione o local de origem dos arquivos."));
    if (!folderDialog_->Execute()) return;
    const QString source = folderDialog_->Directory();
    folderDialog_->setTitle(QStringLiteral("Selecione o local de destino dos arquivos."));
    if (!folderDialog_->Execute()) return;
    const QString destination = withSeparator(folderDialog_->Directory());
    if (isCardFolder(destination)) {
        restoreIntoCard(source, QString::fromUtf8("Restauração de ") + source);
        return;
    }
    copyFolder(source, destination);
}

void TMainFormQuorvel::btAtualizaClick() {
    try {
        loadConfigurationIntoFields();
    } catch (const CardError& error) {
        showCardError(error);
    }
}

void TMainFormQuorvel::tAguardaTimer() {
    tAguarda_->stop();
    painel_.panel->hide();
}

void TMainFormQuorvel::holdCardCommands(bool held) {
    copying_ = held;
    PageControl1Change(pageControl_->currentIndex());
    for (ClickableLabel* label : menusPage_.copyLabels) label->setEnabled(!held);
    convertPage_.select->setEnabled(!held && !prompt_.Running());
}

void TMainFormQuorvel::runCopy(const std::function<void(const CardSession::CopyProgress&)>& copy) {
    holdCardCommands(true);
    painel_.panel->show();
    painel_.panel->raise();
    painel_.bar->setMaximum(0);
    painel_.bar->setValue(0);
    CardSession::CopyProgress progress;
    progress.starting = [this](std::size_t index, std::size_t count, const std::string& source) {
        // The window repaints and takes clicks between files.
        QCoreApplication::processEvents();
        painel_.bar->setMaximum(static_cast<int>(count));
        painel_.bar->setValue(static_cast<int>(index));
        painel_.file->setText(toQString(source));
        painel_.count->setText(QStringLiteral("Copiando arquivo: %1 de %2").arg(index + 1).arg(count));
    };
    copy(progress);
    holdCardCommands(false);
    // A restore may have brought other prompts.
    measureOverview();
    tAguarda_->start();
    // A conversion that ended during the copy installs its prompt now.
    if (std::exchange(monoDonePending_, false)) prompt_.MonoDone();
}

void TMainFormQuorvel::copyFolder(const QString& source, const QString& destination) {
    FolderCopy copy(toStdString(source), toStdString(destination), ReadOnlyTarget::Refuse, card_.fileSystem());
    if (copy.intoItself()) {
        boxes_.showMessage(this, sameFolderText());
        return;
    }
    // The destination may be another program's card.
    const auto other = CardSession::open(toStdString(destination), "ajustor-quorvel", card_.fileSystem());
    CardSession::HoldResult held = other->hold(std::chrono::milliseconds(0), true);
    if (!held.hold) {
        boxes_.showMessage(this, QString::fromUtf8("O cartão está sendo gravado por %1. Tente novamente.")
                                     .arg(toQString(held.holder.describe())));
        return;
    }
    if (copy.list() != 0) {
        boxes_.showMessage(this, QString::fromUtf8("Não foi possível ler a pasta ") + source);
        return;
    }
    runCopy([&copy](const CardSession::CopyProgress& progress) {
        const std::size_t count = copy.names().size();
        for (std::size_t i = 0; i < count; ++i) {
            progress.starting(i, count, copy.sourcePath(i));
            copy.copy(i);
        }
        copy.finish();
    });
    if (!copy.failures().empty()) boxes_.showMessage(this, notCopiedText(copy.failures()));
}

void TMainFormQuorvel::connectFolderCopyHandlers() {
    connect(commands_.backup, &QPushButton::clicked, this, &TMainFormQuorvel::btBackupClick);
    connect(commands_.restoreBackup, &QPushButton::clicked, this, &TMainFormQuorvel::btRestBackUpClick);
    connect(commands_.update, &QPushButton::clicked, this, &TMainFormQuorvel::btAtualizaClick);
    connect(tAguarda_, &QTimer::timeout, this, &TMainFormQuorvel::tAguardaTimer);
}

}  // namespace quorvel
