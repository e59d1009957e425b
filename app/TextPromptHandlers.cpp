// Page 2's "Texto...": the typed text is spoken and converted like a chosen
// recording, always levelled to the speech level.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include "app/MainFormQuorvel.h"
#include "app/QtText.h"
#include "app/TextPromptDialog.h"
#include "app/WaveformView.h"
#include "shell/MessageBoxes.h"

namespace quorvel {

void TMainFormQuorvel::btTextoClick() {
    const int index = convertPage_.promptList->currentIndex();
    if (index < 0) {
        boxes_.showMessage(this, QStringLiteral("Selecione o menu desejado para converter o arquivo."));
        return;
    }
    auto install = [this, index](std::shared_ptr<TSpokenWave> wave) {
        if (prompt_.Running()) {
            boxes_.showMessage(this, QStringLiteral("Aguarde o fim da conversão em andamento."));
            return false;
        }
        promptLock_ = lockCardForWriting(programFolder_);
        if (!promptLock_) return false;
        convertPage_.select->setEnabled(false);
        convertPage_.summary->clear();
        convertPage_.waveform->setColumns({});
        // The spoken file lives until the conversion has read it.
        prompt_.Begin(
            {toStdString(programFolder_), index, wave->Path(), TLevelMode::Speech, convertPage_.trim->isChecked()},
            {[this](const std::string& text) { convertPage_.log->setText(toQString(text)); },
             [this, wave](const TPromptResult& result) mutable {
                 wave.reset();
                 promptFinished(result);
             }});
        return true;
    };
    auto* dialog = new TextPromptDialog(convertPage_.promptList->currentText(), boxes_, seams_.sound,
                                        convertPage_.overview.telephone, install, this);
    dialog->open();
}

}  // namespace quorvel
