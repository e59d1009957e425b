#include "operations/prompt/PromptFiles.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <stdexcept>

#include "config/CardError.h"
#include "config/FileReplace.h"
#include "operations/session/CardSession.h"

namespace quorvel {

namespace {

std::string messageFor(int error) { return writeErrorMessage(error == kShortFile ? EIO : error); }

}  // namespace

TPromptSourceKind ClassifyPromptSource(const std::string& Path) {
    const auto dot = Path.find_last_of("./");
    if (dot == std::string::npos || Path[dot] != '.') return TPromptSourceKind::Other;
    std::string extension = Path.substr(dot);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == ".mp3") return TPromptSourceKind::Mp3;
    if (extension == ".wav") return TPromptSourceKind::Wav;
    return TPromptSourceKind::Other;
}

std::string ReserveTemporaryPrompt(const std::string& Folder, FileSystem& Files) {
    std::string path;
    int handle = -1;
    const int error = Files.createTemporary(Folder, std::string(kPromptTemporary.prefix),
                                            std::string(kPromptTemporary.suffix), path, handle);
    if (error != 0) throw std::runtime_error(messageFor(error));
    Files.close(handle);
    return path;
}

bool IsTemporaryPromptName(const std::string& FileName) {
    return FileName.ends_with(kPromptTemporary.suffix) && FileName.starts_with(kPromptTemporary.prefix) &&
           isLeftoverTemporaryName(FileName);
}

std::string UnplayableConversionText(const std::string& Reason) {
    return "O arquivo convertido não é tocado pelo aparelho: " + Reason + ".";
}

CardResult InstallPrompt(const std::string& Finished, const std::string& Target, FileSystem& Files,
                         const std::string& Action) {
    const PromptVerdict verdict = judgePrompt(Finished, Files);
    if (verdict.state == PromptState::Missing) return CardResult::failed(messageFor(ENOENT), Finished);
    if (verdict.state == PromptState::Unplayable) {
        return CardResult::failed(UnplayableConversionText(verdict.reason), Finished);
    }
    const auto slash = Target.find_last_of('/');
    const std::string folder = slash == std::string::npos ? std::string("./") : Target.substr(0, slash + 1);
    const auto session = CardSession::open(folder, "ajustor-quorvel", Files);
    // Under the hold of the operation that converted it, when there is one.
    CardSession::HoldResult held = session->hold(std::chrono::milliseconds(0), true, {}, true);
    if (!held.hold) {
        Files.remove(Finished);
        return CardResult::failed("the card is being written by " + held.holder.describe(), folder);
    }
    return session->installPrompt(Finished, Target.substr(slash + 1), Action);
}

}  // namespace quorvel
