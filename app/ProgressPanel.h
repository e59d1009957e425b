// The panel that shows the progress of a folder copy, hidden otherwise.
#pragma once

class QFrame;
class QWidget;

namespace quorvel {

// Painel with lbArquivo, Pbar and lbContabil; hidden, not yet placed.
QFrame* buildProgressPanel(QWidget* window);

}  // namespace quorvel
