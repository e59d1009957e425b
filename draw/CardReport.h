// The printable record of a card: A4 pages in Portuguese with the week, the
// map, every menu, the holidays, the restricted extensions, the general
// settings, the prompts and the call-flow findings. The password is never
// printed.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
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

// The report could not be drawn whole; nothing was written.
inline constexpr int kReportNotDrawn = -2;
// Puts the report as a PDF in place of `path`, whole or not at all (see
// draw/WholeFile.h): 0, kReportNotDrawn, or the write's error.
int writeCardReport(const ReportContents& contents, const std::string& path);
// The report as a PDF in memory; empty when it cannot be drawn.
QByteArray cardReportPdf(const ReportContents& contents);

// "Nenhum problema encontrado", "1 aviso", "N avisos".
QString findingsSummary(std::size_t findingCount);

}  // namespace quorvel
