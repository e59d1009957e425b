// "Histórico...": the versions the card's history keeps, what each differs
// from the card now, and one brought back with the window's restore.
#pragma once

#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "operations/history/CardHistory.h"
#include "operations/history/VersionFolder.h"

class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace quorvel {

class HistoryDialog final : public QWidget {
    Q_OBJECT

public:
    // `preview` gives the restore confirmation's text for a folder, `restore`
    // restores a folder into the card as "Restaura Backup" does, under the
    // name the card's history gives it.
    HistoryDialog(const QString& cardFolder, std::function<QString(const QString&)> preview,
                  std::function<void(const QString&, const QString&)> restore, QWidget* parent);

    // Lists the versions again, newest first.
    void reload();

private:
    void showVersion(int row);
    void restoreVersion();

    std::string card_;
    std::function<QString(const QString&)> preview_;
    std::function<void(const QString&, const QString&)> restore_;
    std::vector<HistoryVersion> versions_;
    VersionFolder version_;
    QListWidget* list_ = nullptr;        // lvHistorico
    QPlainTextEdit* changes_ = nullptr;  // mmDiferencas
    QPushButton* restoreButton_ = nullptr;
    QLabel* notice_ = nullptr;  // lbHistorico: where the history is, or why it cannot be read
};

// Opens the card's history beside `window`, the one already open if any.
void showHistoryDialog(QWidget* window, HistoryDialog*& dialog, const QString& cardFolder,
                       std::function<QString(const QString&)> preview,
                       std::function<void(const QString&, const QString&)> restore);

}  // namespace quorvel
