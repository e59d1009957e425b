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

}  // namespace

void TMainFormQuorvel::btBackupClick() {
    if (copying_) return;
    folderDialog_->setTitle(QStringLiteral("Selecione o local de destino do backup."));
    if (!folderDialog_->Execute()) return;
    copyFolder(programFolder_, withSeparator(folderDialog_->Directory()), ReadOnlyTarget::Replace);
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
        restoreIntoCard(source);
        return;
    }
    copyFolder(source, destination, ReadOnlyTarget::Refuse);
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

bool TMainFormQuorvel::copyFolder(const QString& source, const QString& destination, ReadOnlyTarget readOnly) {
    FolderCopy copy(toStdString(source), toStdString(destination), readOnly, card_.fileSystem());
    const auto lock = lockCardForWriting(destination);
    if (!lock) return false;
    if (copy.intoItself()) {
        boxes_.showMessage(this, QString::fromUtf8("A pasta de destino é a pasta de origem: escolha outra pasta."));
        return false;
    }
    if (copy.list() != 0) {
        boxes_.showMessage(this, QString::fromUtf8("Não foi possível ler a pasta ") + source);
        return false;
    }
    {
        holdCardCommands(true);
        // Given back however the copy ends.
        const std::unique_ptr<TMainFormQuorvel, void (*)(TMainFormQuorvel*)> release(
            this, [](TMainFormQuorvel* window) { window->holdCardCommands(false); });
        const int count = static_cast<int>(copy.names().size());
        painel_.panel->show();
        painel_.panel->raise();
        painel_.bar->setMaximum(count);
        painel_.bar->setValue(0);
        for (int i = 0; i < count; ++i) {
            // The window repaints and takes clicks between files.
            QCoreApplication::processEvents();
            painel_.bar->setValue(i);
            painel_.file->setText(toQString(copy.sourcePath(static_cast<std::size_t>(i))));
            painel_.count->setText(QStringLiteral("Copiando arquivo: %1 de %2").arg(i + 1).arg(count));
            copy.copy(static_cast<std::size_t>(i));
        }
        copy.finish();
        // A restore may have brought other prompts.
        measureOverview();
        tAguarda_->start();
    }
    if (!copy.failures().empty()) boxes_.showMessage(this, notCopiedText(copy.failures()));
    return true;
}

void TMainFormQuorvel::connectFolderCopyHandlers() {
    connect(commands_.backup, &QPushButton::clicked, this, &TMainFormQuorvel::btBackupClick);
    connect(commands_.restoreBackup, &QPushButton::clicked, this, &TMainFormQuorvel::btRestBackUpClick);
    connect(commands_.update, &QPushButton::clicked, this, &TMainFormQuorvel::btAtualizaClick);
    connect(tAguarda_, &QTimer::timeout, this, &TMainFormQuorvel::tAguardaTimer);
}

}  // namespace quorvel
