// "Mapa" and "Relatório": the call flow of the fields drawn in a window of
// its own, and the card's report written as a PDF.
#include <QDateTime>
#include <QPushButton>

#include "app/ConfigurationFields.h"
#include "app/MainFormQuorvel.h"
#include "draw/CardReport.h"
#include "shell/MessageBoxes.h"

namespace quorvel {

void TMainFormQuorvel::setSaveFileChooser(SaveFileChooser chooser) { saveChooser_ = std::move(chooser); }

void TMainFormQuorvel::connectMapHandlers() {
    connect(commands_.map, &QPushButton::clicked, this, &TMainFormQuorvel::btMapaClick);
    connect(commands_.report, &QPushButton::clicked, this, &TMainFormQuorvel::btRelatorioClick);
    connect(flowMap_, &FlowMapWindow::chosen, this, &TMainFormQuorvel::showField);
}

void TMainFormQuorvel::btMapaClick() {
    flowMap_->show();
    flowMap_->raise();
    flowMap_->activateWindow();
}

void TMainFormQuorvel::btRelatorioClick() {
    const QString path = saveChooser_(this, QString::fromUtf8("Salvar relatório"), QStringLiteral("PDF (*.pdf)"));
    if (path.isEmpty()) return;
    const ReportContents contents =
        cardReportContents(readFields(fields_), card_.folder(), QDateTime::currentDateTime());
    if (const auto failure = writeCardReport(contents, path)) boxes_.showError(this, *failure);
}

}  // namespace quorvel
