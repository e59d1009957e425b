// Prompt playback, handed to the platform without waiting.
#include <QCheckBox>
#include <QDir>
#include <QTemporaryFile>
#include <stdexcept>

#include "app/PromptsPart.h"
#include "app/QtText.h"
#include "config/PromptFile.h"
#include "operations/prompt/TelephoneLine.h"
#include "shell/SoundPlayer.h"

namespace quorvel {

void PromptsPart::playPrompt(int menu) {
    // Always the card's own prompt, whatever folder was used last.
    const QString prompt = programFolder_ + QString::fromStdString(*promptFileName(menu));
    if (!convertPage_.overview.telephone->isChecked()) {
        sound_.play(prompt);
        return;
    }
    // The telephone version goes outside the card folder, never onto the card.
    auto line = std::make_unique<QTemporaryFile>(QDir::tempPath() + QStringLiteral("/quorvel-telefone-XXXXXX.wav"));
    try {
        if (!line->open()) throw std::runtime_error("");
        line->close();
        MakeTelephoneCopy(toStdString(prompt), toStdString(line->fileName()));
    } catch (const std::exception&) {
        // A prompt the line cannot carry is played as it is.
        sound_.play(prompt);
        return;
    }
    telephoneCopy_ = std::move(line);
    sound_.play(telephoneCopy_->fileName());
}

void PromptsPart::SpeedButton6Click() { playPrompt(0); }
void PromptsPart::SpeedButton10Click() { playPrompt(1); }
void PromptsPart::SpeedButton9Click() { playPrompt(2); }
void PromptsPart::SpeedButton8Click() { playPrompt(3); }
void PromptsPart::SpeedButton7Click() { playPrompt(4); }
void PromptsPart::SpeedButton1Click() { playPrompt(5); }
void PromptsPart::SpeedButton14Click() { playPrompt(6); }
void PromptsPart::SpeedButton13Click() { playPrompt(7); }
void PromptsPart::SpeedButton12Click() { playPrompt(8); }
void PromptsPart::SpeedButton11Click() { playPrompt(9); }

void PromptsPart::SpeedButton15Click() { sound_.stop(); }

void PromptsPart::playMenu(int menu) {
    void (PromptsPart::*const play[])() = {
        &PromptsPart::SpeedButton6Click,  &PromptsPart::SpeedButton10Click, &PromptsPart::SpeedButton9Click,
        &PromptsPart::SpeedButton8Click,  &PromptsPart::SpeedButton7Click,  &PromptsPart::SpeedButton1Click,
        &PromptsPart::SpeedButton14Click, &PromptsPart::SpeedButton13Click, &PromptsPart::SpeedButton12Click,
        &PromptsPart::SpeedButton11Click,
    };
    (this->*play[menu])();
}

}  // namespace quorvel
