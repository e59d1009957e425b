// The printable record of a card: A4 pages in Portuguese with the week, the
// map, every menu, the holidays, the restricted extensions, the general
// settings, the prompts and the call-flow findings. The password is never
// printed.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "config/CallFlowModel.h"
#include "config/DeviceConfiguration.h"
#include "operations/prompt/PromptSurvey.h"

namespace quorvel {

struct ReportContents {
    std::string folder;
    QDateTime madeAt;
    DeviceConfiguration config;
    CallFlowModel model;
    std::vector<PromptSurvey> prompts;  // the menus' then the Vinheta's
};

// What the report of the card `folder` (ending with a separator) shows.
ReportContents cardReportContents(const DeviceConfiguration& config, const std::string& folder, QDateTime madeAt);

// Writes the report as a PDF into `path`; the reason when it cannot.
std::optional<QString> writeCardReport(const ReportContents& contents, const QString& path);
// The report as a PDF in memory; empty when it cannot be drawn.
QByteArray cardReportPdf(const ReportContents& contents);

// "Nenhum problema encontrado", "1 aviso", "N avisos".
QString findingsSummary(std::size_t findingCount);

}  // namespace quorvel
