#include "app/MapReportPart.h"

#include <QDateTime>

#include "app/QtText.h"
#include "config/CardFolder.h"
#include "draw/CardReport.h"
#include "shell/MessageBoxes.h"

namespace quorvel {

MapReportPart::MapReportPart(QWidget* window, const QString& programFolder, MessageBoxes& boxes,
                             std::function<DeviceConfiguration()> configuration)
    : QObject(window),
      window_(window),
      folder_(CardFolder(toStdString(programFolder)).folder()),
      boxes_(boxes),
      configuration_(std::move(configuration)) {
    flowMap_ =
        new FlowMapWindow(window, boxes_, [this](QWidget* parent, const QString& caption, const QString& filter) {
            return saveChooser_(parent, caption, filter);
        });
    connect(flowMap_, &FlowMapWindow::chosen, this, &MapReportPart::fieldRequested);
}

void MapReportPart::btMapaClick() {
    flowMap_->show();
    flowMap_->raise();
    flowMap_->activateWindow();
}

void MapReportPart::btRelatorioClick() {
    const QString path = saveChooser_(window_, QString::fromUtf8("Salvar relatório"), QStringLiteral("PDF (*.pdf)"));
    if (path.isEmpty()) return;
    const ReportContents contents = cardReportContents(configuration_(), folder_, QDateTime::currentDateTime());
    if (writeCardReport(contents, path.toStdString()) != 0) {
        boxes_.showError(window_, QString::fromUtf8("Não foi possível gravar ") + path);
    }
}

void MapReportPart::setModel(const CallFlowModel& model) { flowMap_->setModel(model); }

}  // namespace quorvel
