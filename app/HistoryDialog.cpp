#include "app/HistoryDialog.h"

#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/QtText.h"

namespace quorvel {

namespace {

// "2026-12-09T14:05:33-03:00" as "09/12/2026 14:05:33", the writer's own clock.
QString shownTime(const std::string& iso) {
    if (iso.size() < 19) return toQString(iso);
    return toQString(iso.substr(8, 2) + "/" + iso.substr(5, 2) + "/" + iso.substr(0, 4) + " " + iso.substr(11, 8));
}

}  // namespace

HistoryDialog::HistoryDialog(const QString& cardFolder, std::function<QString(const QString&)> preview,
                             std::function<void(const QString&, const QString&)> restore, QWidget* parent)
    : QWidget(parent, Qt::Window),
      card_(toStdString(cardFolder)),
      preview_(std::move(preview)),
      restore_(std::move(restore)) {
    setObjectName(QStringLiteral("HistoryDialog"));
    setWindowTitle(QString::fromUtf8("Histórico do cartão"));
    auto* layout = new QVBoxLayout(this);
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("lvHistorico"));
    layout->addWidget(list_, 1);
    changes_ = new QPlainTextEdit(this);
    changes_->setObjectName(QStringLiteral("mmDiferencas"));
    changes_->setReadOnly(true);
    layout->addWidget(changes_, 1);
    notice_ = new QLabel(this);
    notice_->setObjectName(QStringLiteral("lbHistorico"));
    notice_->setWordWrap(true);
    notice_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(notice_);
    restoreButton_ = new QPushButton(QString::fromUtf8("Restaurar esta versão"), this);
    restoreButton_->setObjectName(QStringLiteral("btRestaurarVersao"));
    layout->addWidget(restoreButton_);
    connect(list_, &QListWidget::currentRowChanged, this, &HistoryDialog::showVersion);
    connect(restoreButton_, &QPushButton::clicked, this, &HistoryDialog::restoreVersion);
    resize(560, 520);
    reload();
}

void HistoryDialog::reload() {
    CardHistory history(card_);
    const std::string error = history.versions(versions_);
    const QSignalBlocker quiet(list_);
    list_->clear();
    for (const HistoryVersion& version : versions_) {
        list_->addItem(shownTime(version.time) + QStringLiteral("  ") + toQString(version.action));
    }
    if (!error.empty()) {
        notice_->setText(QString::fromUtf8("O histórico não pôde ser lido: ") + toQString(error));
    } else if (versions_.empty()) {
        notice_->setText(QString::fromUtf8("O cartão ainda não tem versões guardadas."));
    } else {
        notice_->setText(QString::fromUtf8("Versões guardadas em ") + toQString(history.repository()));
    }
    changes_->clear();
    restoreButton_->setEnabled(false);
}

void HistoryDialog::showVersion(int row) {
    restoreButton_->setEnabled(false);
    if (row < 0 || static_cast<std::size_t>(row) >= versions_.size()) return;
    if (const std::string error = version_.materialise(card_, versions_[row].id); !error.empty()) {
        changes_->setPlainText(QString::fromUtf8("A versão não pôde ser lida: ") + toQString(error));
        return;
    }
    // The confirmation's question names the temporary folder: only its list is shown here.
    const QString text = preview_(toQString(version_.path()));
    const qsizetype list = text.indexOf(QStringLiteral("\n\n"));
    changes_->setPlainText(list < 0 ? text : text.mid(list + 2));
    restoreButton_->setEnabled(true);
}

void HistoryDialog::restoreVersion() {
    if (version_.path().empty()) return;
    // The card's history records the restore, and the state before it.
    restore_(toQString(version_.path()),
             QString::fromUtf8("Restauração da versão ") + toQString(shortVersionId(version_.version())));
    reload();
}

void showHistoryDialog(QWidget* window, HistoryDialog*& dialog, const QString& cardFolder,
                       std::function<QString(const QString&)> preview,
                       std::function<void(const QString&, const QString&)> restore) {
    if (dialog == nullptr) {
        dialog = new HistoryDialog(cardFolder, std::move(preview), std::move(restore), window);
    } else {
        dialog->reload();
    }
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

}  // namespace quorvel
