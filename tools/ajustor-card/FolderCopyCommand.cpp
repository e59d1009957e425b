#include "FolderCopyCommand.h"

#include <cstring>

#include "operations/FolderCopy.h"

namespace quorvel::card_tool {

ExitCode copyFolder(const std::string& source, const std::string& destination, ReadOnlyTarget readOnly,
                    std::ostream* progress, std::ostream& err) {
    FolderCopy copy(source, destination, readOnly);
    if (copy.intoItself()) {
        err << "The destination is the source folder; nothing was copied\n";
        return ExitCode::CardFailure;
    }
    if (int error = copy.list()) {
        err << source << ": " << std::strerror(error) << '\n';
        return ExitCode::CardFailure;
    }
    if (progress != nullptr) copy.onCopied([progress](const std::string& name) { *progress << name << '\n'; });
    for (std::size_t i = 0; i < copy.names().size(); ++i) copy.copy(i);
    copy.finish();
    for (const CopyFailure& failure : copy.failures()) err << failure.name << ": " << failure.reason << '\n';
    return copy.failures().empty() ? ExitCode::Success : ExitCode::CardFailure;
}

}  // namespace quorvel::card_tool
