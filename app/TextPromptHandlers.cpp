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
        // The spoken file lives until the conversion has read it.
        return beginConversion(index, wave->Path(), TLevelMode::Speech, [wave]() mutable { wave.reset(); });
    };
    auto* dialog = new TextPromptDialog(convertPage_.promptList->currentText(), boxes_, seams_.sound,
                                        convertPage_.overview.telephone, install, this);
    dialog->open();
}

}  // namespace quorvel
