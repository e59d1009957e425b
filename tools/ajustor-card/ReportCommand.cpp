#include "ReportCommand.h"

#include <QDateTime>
#include <QGuiApplication>
#include <cstring>

#include "CardCommands.h"
#include "config/CardFolder.h"
#include "config/CardSequences.h"
#include "config/FileReplace.h"
#include "draw/CardReport.h"

namespace quorvel::card_tool {

namespace {

std::string reasonText(int error) {
    return error == kShortFile ? "the disk kept fewer bytes than were written" : std::strerror(error);
}

}  // namespace

std::optional<std::string> checkReportOutput(const std::string& output) {
    const FileStatus status = realFileSystem().status(output);
    if (!status.exists || status.link || status.regular) return std::nullopt;
    return output + ": is not a plain file (a folder, device or FIFO); the report is written to a file only";
}

ExitCode reportCard(const std::string& folder, const std::string& output, std::ostream& err) {
    if (const auto refusal = checkReportOutput(output)) {
        err << *refusal << '\n';
        return ExitCode::CardFailure;
    }
    const CardFolder card(folder);
    DeviceConfiguration config;
    if (!loadCard(card, config, err)) return ExitCode::CardFailure;
    int argc = 1;
    char name[] = "ajustor-card";
    char* argv[] = {name, nullptr};
    const QGuiApplication application(argc, argv);
    const ReportContents contents = cardReportContents(config, card.folder(), QDateTime::currentDateTime());
    const int error = writeCardReport(contents, output);
    if (error == kReportNotDrawn) {
        err << output << ": the report could not be drawn; nothing was written\n";
        return ExitCode::CardFailure;
    }
    if (error != 0) {
        err << output << ": " << reasonText(error) << "; the report was not written\n";
        return ExitCode::CardFailure;
    }
    return ExitCode::Success;
}

}  // namespace quorvel::card_tool
