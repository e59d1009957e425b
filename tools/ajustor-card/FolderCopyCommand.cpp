#include "FolderCopyCommand.h"

#include <filesystem>

#include "CardCommands.h"
#include "config/CardResult.h"
#include "operations/session/CardSession.h"

namespace quorvel::card_tool {

ExitCode backupCard(CardSession& session, const std::string& destination, const WriteLockOptions& options,
                    std::ostream* progress, std::ostream& err) {
    const auto target = CardSession::open(destination, "ajustor-card backup");
    const std::optional<CardSession::Hold> held = holdCard(*target, "backup", options, false, err);
    if (!held) return ExitCode::CardFailure;
    const auto copied = [progress](const std::string& name) {
        if (progress != nullptr) *progress << name << '\n';
    };
    const CardSession::BackupResult result = session.backup(destination, {{}, copied});
    if (!result.listingError.empty()) {
        err << session.folder() << ": " << result.listingError << '\n';
        return ExitCode::CardFailure;
    }
    for (const auto& [name, reason] : result.failures) err << name << ": " << reason << '\n';
    return result.failures.empty() ? ExitCode::Success : ExitCode::CardFailure;
}

ExitCode restoreCard(CardSession& session, const std::string& source, std::ostream* progress, std::ostream& err) {
    std::error_code error;
    if (std::filesystem::equivalent(source, session.folder(), error)) {
        err << "The destination is the source folder; nothing was copied\n";
        return ExitCode::CardFailure;
    }
    const auto copied = [progress](const std::string& name) {
        if (progress != nullptr) *progress << name << '\n';
    };
    std::string safety;
    const CardResult result = session.restore(source, "Restauração de " + source, safety, {{}, copied});
    if (!result.ok() && safety.empty()) {
        err << result.file << ": the card's files could not be kept there (" << result.message
            << "); nothing was restored\n";
        return ExitCode::CardFailure;
    }
    if (progress != nullptr && result.ok()) *progress << "The card's previous files are kept in " << safety << '\n';
    return reportWrite(result, err);
}

}  // namespace quorvel::card_tool
