// The panel that shows the progress of a folder copy, hidden otherwise.
#pragma once

class QFrame;
class QLabel;
class QProgressBar;
class QWidget;

namespace quorvel {

struct ProgressPanel {
    QFrame* panel = nullptr;      // Painel
    QLabel* file = nullptr;       // lbArquivo
    QProgressBar* bar = nullptr;  // Pbar
    QLabel* count = nullptr;      // lbContabil
};

// Painel with lbArquivo, Pbar and lbContabil; hidden, not yet placed.
ProgressPanel buildProgressPanel(QWidget* window);

}  // namespace quorvel
