// "Mapa" and "Relatório": the call flow of the fields drawn in a window of
// its own, and the card's report written as a PDF.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <string>

#include "app/FlowMapWindow.h"
#include "config/CallFlowModel.h"
#include "config/DeviceConfiguration.h"

class QWidget;

namespace quorvel {

class MessageBoxes;

class MapReportPart : public QObject {
    Q_OBJECT

public:
    // `configuration` gives what the fields show when the report is asked for.
    MapReportPart(QWidget* window, const QString& programFolder, MessageBoxes& boxes,
                  std::function<DeviceConfiguration()> configuration);

    // Replaces the save dialog of "Mapa" and "Relatório" (tests).
    void setSaveFileChooser(SaveFileChooser chooser) { saveChooser_ = std::move(chooser); }

public Q_SLOTS:
    void btMapaClick();
    void btRelatorioClick();
    void setModel(const quorvel::CallFlowModel& model);

Q_SIGNALS:
    // An element of the map was double-clicked: show its field.
    void fieldRequested(const quorvel::FindingPlace& place);

private:
    QWidget* window_;
    std::string folder_;
    MessageBoxes& boxes_;
    std::function<DeviceConfiguration()> configuration_;
    SaveFileChooser saveChooser_ = platformSaveFileChooser();
    FlowMapWindow* flowMap_ = nullptr;
};

}  // namespace quorvel
