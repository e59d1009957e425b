#include "ReportCommand.h"

#include <QDateTime>
#include <QGuiApplication>

#include "CardCommands.h"
#include "config/CardFolder.h"
#include "config/CardSequences.h"
#include "draw/CardReport.h"

namespace quorvel::card_tool {

ExitCode reportCard(const std::string& folder, const std::string& output, std::ostream& err) {
    const CardFolder card(folder);
    DeviceConfiguration config;
    if (!loadCard(card, config, err)) return ExitCode::CardFailure;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char name[] = "ajustor-card";
    char* argv[] = {name, nullptr};
    const QGuiApplication application(argc, argv);
    const ReportContents contents = cardReportContents(config, card.folder(), QDateTime::currentDateTime());
    if (const auto failure = writeCardReport(contents, QString::fromStdString(output))) {
        err << failure->toStdString() << '\n';
        return ExitCode::CardFailure;
    }
    return ExitCode::Success;
}

}  // namespace quorvel::card_tool
