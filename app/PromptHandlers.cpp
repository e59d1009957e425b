// Prompt playback and the remote-support tool, handed to the platform
// without waiting.
#include <QPushButton>
#include <QToolButton>

#include "app/MainFormQuorvel.h"
#include "config/PromptFile.h"

namespace quorvel {

void TMainFormQuorvel::playPrompt(int menu) {
    // Always the card's own prompt, whatever folder was used last.
    seams_.sound.play(programFolder_ + QString::fromStdString(*promptFileName(menu)));
}

void TMainFormQuorvel::SpeedButton6Click() { playPrompt(0); }
void TMainFormQuorvel::SpeedButton10Click() { playPrompt(1); }
void TMainFormQuorvel::SpeedButton9Click() { playPrompt(2); }
void TMainFormQuorvel::SpeedButton8Click() { playPrompt(3); }
void TMainFormQuorvel::SpeedButton7Click() { playPrompt(4); }
void TMainFormQuorvel::SpeedButton1Click() { playPrompt(5); }
void TMainFormQuorvel::SpeedButton14Click() { playPrompt(6); }
void TMainFormQuorvel::SpeedButton13Click() { playPrompt(7); }
void TMainFormQuorvel::SpeedButton12Click() { playPrompt(8); }
void TMainFormQuorvel::SpeedButton11Click() { playPrompt(9); }

void TMainFormQuorvel::SpeedButton15Click() { seams_.sound.stop(); }

void TMainFormQuorvel::Button1Click() {
    seams_.launcher.launch(programFolder_ + QStringLiteral("suporte/AA_v3.5.exe"));
}

void TMainFormQuorvel::connectPromptHandlers() {
    connect(commands_.remoteSupport, &QPushButton::clicked, this, &TMainFormQuorvel::Button1Click);
    void (TMainFormQuorvel::*const play[])() = {
        &TMainFormQuorvel::SpeedButton6Click,  &TMainFormQuorvel::SpeedButton10Click,
        &TMainFormQuorvel::SpeedButton9Click,  &TMainFormQuorvel::SpeedButton8Click,
        &TMainFormQuorvel::SpeedButton7Click,  &TMainFormQuorvel::SpeedButton1Click,
        &TMainFormQuorvel::SpeedButton14Click, &TMainFormQuorvel::SpeedButton13Click,
        &TMainFormQuorvel::SpeedButton12Click, &TMainFormQuorvel::SpeedButton11Click,
    };
    for (int menu = 0; menu < kMenuCount; ++menu) {
        connect(menusPage_.playButtons[menu], &QToolButton::clicked, this, play[menu]);
        connect(menusPage_.stopButtons[menu], &QToolButton::clicked, this, &TMainFormQuorvel::SpeedButton15Click);
    }
}

}  // namespace quorvel
