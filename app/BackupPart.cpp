#include "app/BackupPart.h"

#include <QCoreApplication>
#include <QFrame>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <utility>
#include <vector>

#include "app/CardWriteMessages.h"
#include "app/HistoryDialog.h"
#include "app/QtText.h"
#include "operations/FolderCopy.h"
#include "shell/MessageBoxes.h"
#include "shell/TFolderDialog.h"

namespace quorvel {

namespace {

constexpr QPoint kPanelPosition(250, 300);
constexpr int kPanelWaitIntervalMs = 3000;

QString withSeparator(const QString& folder) { return folder.endsWith(u'/') ? folder : folder + u'/'; }

QString notCopiedText(const std::vector<CopyFailure>& failures) {
    QString text = QString::fromUtf8("Os arquivos abaixo não foram copiados:");
    for (const CopyFailure& failure : failures) text += u'\n' + toQString(failure.name);
    return text;
}

QString sameFolderText() { return QString::fromUtf8("A pasta de destino é a pasta de origem: escolha outra pasta."); }

}  // namespace

BackupPart::BackupPart(QWidget* window, std::shared_ptr<CardSession> session, const QString& programFolder,
                       FileSystem& fileSystem, MessageBoxes& boxes, FolderBrowser& folders)
    : QObject(window),
      window_(window),
      session_(std::move(session)),
      programFolder_(programFolder),
      fileSystem_(fileSystem),
      boxes_(boxes),
      painel_(buildProgressPanel(window)) {
    painel_.panel->move(kPanelPosition);
    tAguarda_ = new QTimer(this);
    tAguarda_->setObjectName(QStringLiteral("tAguarda"));
    tAguarda_->setInterval(kPanelWaitIntervalMs);
    connect(tAguarda_, &QTimer::timeout, this, &BackupPart::tAguardaTimer);
    folderDialog_ = new TFolderDialog(folders, window);
    folderDialog_->setObjectName(QStringLiteral("FolderDialog"));
    folderDialog_->setCaption(QStringLiteral("Procurar Pasta"));
    folderDialog_->setTitle(QString::fromUtf8("Selecione o local para gravação"));
    folderDialog_->setOptions(TFolderDialog::fdoBrowseForComputer | TFolderDialog::fdoNewDialogStyle);
}

void BackupPart::btBackupClick() {
    if (copying_) return;
    folderDialog_->setTitle(QStringLiteral("Selecione o local de destino do backup."));
    if (!folderDialog_->Execute()) return;
    const QString destination = withSeparator(folderDialog_->Directory());
    if (isCardFolder(destination)) {
        boxes_.showMessage(window_, sameFolderText());
        return;
    }
    const CardSession::Hold hold = holdCard(*session_, boxes_, window_);
    if (!hold) return;
    CardSession::BackupResult result;
    runCopy([&](const CardSession::CopyProgress& progress) {
        result = session_->backup(toStdString(destination), progress);
    });
    if (!result.listingError.empty()) {
        boxes_.showMessage(window_, QString::fromUtf8("Não foi possível ler a pasta ") + programFolder_);
        return;
    }
    std::vector<CopyFailure> failures;
    for (const auto& [name, reason] : result.failures) failures.push_back({name, reason});
    if (!failures.empty()) boxes_.showMessage(window_, notCopiedText(failures));
}

void BackupPart::btRestBackUpClick() {
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

void BackupPart::btHistoricoClick() {
    showHistoryDialog(
        window_, history_, programFolder_, [this](const QString& version) { return restorePreviewText(version); },
        [this](const QString& version, const QString& action) { restoreIntoCard(version, action); });
}

void BackupPart::tAguardaTimer() {
    tAguarda_->stop();
    painel_.panel->hide();
}

void BackupPart::holdCardCommands(bool held) {
    copying_ = held;
    if (held) {
        Q_EMIT copyStarted();
    } else {
        Q_EMIT copyFinished();
    }
}

void BackupPart::runCopy(const std::function<void(const CardSession::CopyProgress&)>& copy) {
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
    tAguarda_->start();
    holdCardCommands(false);
}

void BackupPart::copyFolder(const QString& source, const QString& destination) {
    FolderCopy copy(toStdString(source), toStdString(destination), ReadOnlyTarget::Refuse, fileSystem_);
    if (copy.intoItself()) {
        boxes_.showMessage(window_, sameFolderText());
        return;
    }
    // The destination may be another program's card.
    const auto other = CardSession::open(toStdString(destination), "ajustor-quorvel", fileSystem_);
    const CardSession::Hold hold = holdCard(*other, boxes_, window_);
    if (!hold) return;
    if (!copy.list().ok()) {
        boxes_.showMessage(window_, QString::fromUtf8("Não foi possível ler a pasta ") + source);
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
    if (!copy.failures().empty()) boxes_.showMessage(window_, notCopiedText(copy.failures()));
}

void BackupPart::showSessionNotices() {
    for (const std::string& text : session_->takeNotices()) Q_EMIT notice(toQString(text));
}

}  // namespace quorvel
