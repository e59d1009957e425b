// Start-up, load and save: the window's fields to and from the card files.
#include <QFrame>
#include <QLabel>
#include <QTabWidget>
#include <QTimer>

#include "app/CardNotices.h"
#include "app/MainFormQuorvel.h"
#include "app/QtText.h"
#include "config/CardError.h"
#include "config/CardSequences.h"
#include "shell/MessageBoxes.h"

namespace quorvel {

namespace {
constexpr QPoint kPanelPosition(250, 300);
// How often a save that waits for another program tries again.
constexpr int kSaveRetryMs = 200;
}  // namespace

void TMainFormQuorvel::FormCreate() {
    painel_.panel->move(kPanelPosition);
    tGrava_ = new QTimer(this);
    tGrava_->setObjectName(QStringLiteral("tGrava"));
    tGrava_->setInterval(kSaveRetryMs);
    connect(tGrava_, &QTimer::timeout, this, [this] { saveFields(pendingSave_); });
    pageControl_->setCurrentIndex(0);
    // Another program writing the card: its files are loaded as they are.
    if (CardSession::Hold hold = session_->hold(std::chrono::milliseconds(0), true).hold) {
        const CardResult created = session_->createMissingFiles("Criação dos arquivos do cartão");
        if (!created.ok()) {
            showWriteError(created);
            return;
        }
    }
    try {
        loadConfigurationIntoFields();
    } catch (const CardError& error) {
        // The window opens anyway; without the settle the timetable and
        // menus stay locked, so a half-loaded card is not edited blindly.
        showCardError(error);
        return;
    }
    tChange_->start();
}

void TMainFormQuorvel::loadConfigurationIntoFields() {
    DeviceConfiguration config = readFields(fields_);
    try {
        session_->load(config);
    } catch (const CardError&) {
        writeFields(config, fields_);
        watchCardFiles();
        throw;
    }
    writeFields(config, fields_);
    watchCardFiles();
    refreshVerification();
}

void TMainFormQuorvel::btGravaClick() { saveFields(QStringLiteral("Gravar")); }

void TMainFormQuorvel::saveFields(const QString& action) {
    CardSession::HoldResult held = session_->hold(std::chrono::milliseconds(0), true);
    if (!held.hold) {
        pendingSave_ = action;
        commands_.notice->setText(
            QString::fromUtf8("Gravação aguardando o cartão: %1 está gravando").arg(toQString(held.holder.describe())));
        tGrava_->start();
        return;
    }
    tGrava_->stop();
    commands_.notice->clear();
    if (session_->changedSinceLoad()) {
        if (!boxes_.confirm(this, QString::fromUtf8("Os arquivos do cartão foram alterados por outro programa depois "
                                                    "da última leitura. Gravar por cima dessas alterações?\n\n"
                                                    "Não: recarregar o cartão, perdendo o que foi editado aqui."))) {
            held.hold.release();
            btAtualizaClick();
            return;
        }
        session_->acceptCurrentFiles();
    }
    cardNotices_->writingStarted();
    const CardResult result = session_->save(readFields(fields_), toStdString(action));
    if (result.ok()) cardNotices_->writingFinished();
    showSessionNotices();
    watchCardFiles();
    if (!result.ok()) {
        showWriteError(result);
        return;
    }
    dataChanged_ = false;
    refreshVerification();
}

void TMainFormQuorvel::showCardError(const CardError& error) {
    boxes_.showError(this, toQString(errorBoxText(error.what())));
}

void TMainFormQuorvel::showWriteError(const CardResult& result) {
    QString text = toQString(errorBoxText(result.message));
    if (!result.file.empty()) text += QStringLiteral("\n") + toQString(result.file);
    switch (result.state) {
        case CardState::Unchanged:
            text += QString::fromUtf8("\n\nNada foi gravado: o cartão continua com a configuração anterior.");
            break;
        case CardState::Written:
            text += QString::fromUtf8("\n\nA nova configuração foi gravada, mas pode não estar toda no cartão.");
            break;
        case CardState::Mixed:
            text += QString::fromUtf8(
                "\n\nO cartão ficou com parte da configuração nova e parte da anterior: "
                "grave de novo ou restaure o cartão.");
            break;
    }
    boxes_.showError(this, text);
}

}  // namespace quorvel
