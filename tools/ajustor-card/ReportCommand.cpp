#include "ReportCommand.h"

#include <QByteArray>
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

// A report being written; a killed run leaves one beside the output.
constexpr TemporaryKind kReportTemporary{"qvr", ".tmp"};

std::string folderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

std::string reasonText(int error) {
    return error == kShortFile ? "the disk kept fewer bytes than were written" : std::strerror(error);
}

// A whole PDF ends with its end-of-file marker and a line end or two.
bool endsComplete(const QByteArray& pdf) {
    QByteArray end = pdf.right(16);
    while (end.endsWith('\n') || end.endsWith('\r')) end.chop(1);
    return end.endsWith("%%EOF");
}

// Puts `pdf` in place of `output` whole or not at all: an earlier file
// keeps its content on any failure, and a symbolic link named `output` is
// replaced rather than written through.
int replaceOutput(const std::string& output, const QByteArray& pdf) {
    FileSystem& fileSystem = realFileSystem();
    Replacement replacement;
    int error = beginReplacement(fileSystem, folderOf(output), output, kReportTemporary, replacement);
    if (error == 0) error = writeReplacement(fileSystem, replacement, pdf.constData(), pdf.size());
    if (error == 0) error = sealReplacement(fileSystem, replacement);
    if (error == 0) error = finishReplacement(fileSystem, replacement);
    if (error == 0) error = renameReplacement(fileSystem, replacement);
    if (error != 0) {
        discardReplacement(fileSystem, replacement);
        return error;
    }
    return syncReplacedFolder(fileSystem, folderOf(output));
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
    const QByteArray pdf = cardReportPdf(contents);
    if (!endsComplete(pdf)) {
        err << output << ": the report could not be drawn; nothing was written\n";
        return ExitCode::CardFailure;
    }
    if (const int error = replaceOutput(output, pdf)) {
        err << output << ": " << reasonText(error) << "; the report was not written\n";
        return ExitCode::CardFailure;
    }
    return ExitCode::Success;
}

}  // namespace quorvel::card_tool
