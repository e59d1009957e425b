// The row of command buttons below the pages.
#pragma once

#include <array>

class QBoxLayout;
class QLabel;
class QPushButton;
class QWidget;

namespace quorvel {

class ClickableLabel;

struct CommandStrip {
    QPushButton* restoreBackup = nullptr;  // btRestBackUp
    QPushButton* backup = nullptr;         // btBackup
    QPushButton* remoteSupport = nullptr;  // Button1
    QPushButton* update = nullptr;         // btAtualiza
    QPushButton* clear = nullptr;          // btClear
    QPushButton* save = nullptr;           // btGrava
    QPushButton* map = nullptr;            // btMapa, beside lbVerifica
    QPushButton* report = nullptr;         // btRelatorio
    // lbAviso: what a write waits for, what the card's history could not keep
    QLabel* notice = nullptr;
    QPushButton* history = nullptr;  // btHistorico
    // lbVerifica, at the right end
    ClickableLabel* verification = nullptr;

    // The buttons that work on the configuration, greyed out on page 2.
    std::array<QPushButton*, 5> configurationButtons() const { return {save, clear, backup, restoreBackup, update}; }
};

CommandStrip buildCommandStrip(QWidget* window, QBoxLayout* into);

}  // namespace quorvel
