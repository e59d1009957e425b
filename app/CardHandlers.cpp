// Start-up, load and save: the window's fields to and from the card files.
#include <QFrame>
#include <QTabWidget>
#include <QTimer>

#include "app/MainFormQuorvel.h"
#include "app/QtText.h"
#include "config/CardError.h"
#include "config/CardSequences.h"
#include "shell/MessageBoxes.h"

namespace quorvel {

namespace {
constexpr QPoint kPanelPosition(250, 300);
}

void TMainFormQuorvel::FormCreate() {
    painel_.panel->move(kPanelPosition);
    // Leftovers of a writer that is still running are not leftovers.
    auto lock = lockCardForWriting(programFolder_);
    if (lock) card_.removeLeftoverTemporaries();
    pageControl_->setCurrentIndex(0);
    try {
        if (lock) ensureCardFiles(card_);
        lock.reset();
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
    // Taken before reading: a change made during the load shows as one.
    rememberCardFiles();
    DeviceConfiguration config = readFields(fields_);
    try {
        loadConfiguration(card_, config);
    } catch (const CardError&) {
        writeFields(config, fields_);
        throw;
    }
    writeFields(config, fields_);
    refreshVerification();
}

void TMainFormQuorvel::btGravaClick() {
    const auto lock = lockCardForWriting(programFolder_);
    if (!lock) return;
    if (cardFilesChangedBehind() &&
        !boxes_.confirm(this, QString::fromUtf8("Os arquivos do cartão foram alterados por outro programa depois da "
                                                "última leitura. Gravar por cima dessas alterações?\n\n"
                                                "Não: recarregar o cartão, perdendo o que foi editado aqui."))) {
        btAtualizaClick();
        return;
    }
    // A running conversion's temporary prompts are not leftovers yet.
    if (!prompt_.Running()) card_.removeLeftoverTemporaries();
    try {
        saveConfiguration(card_, readFields(fields_));
    } catch (const CardError& error) {
        showCardError(error);
        return;
    }
    rememberCardFiles();
    dataChanged_ = false;
    refreshVerification();
}

void TMainFormQuorvel::showCardError(const CardError& error) {
    boxes_.showError(this, toQString(errorBoxText(error.what())));
}

}  // namespace quorvel
