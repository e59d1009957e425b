#include "operations/prompt/PromptFiles.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <vector>

namespace quorvel {

namespace {

constexpr const char* TemporaryPrefix = ".quorvel-prompt-";
constexpr const char* TemporarySuffix = ".wav";

[[noreturn]] void RaiseSystemError() { throw std::runtime_error(std::strerror(errno)); }

void SyncPath(const std::string& Path, int Flags) {
    const int descriptor = ::open(Path.c_str(), Flags | O_CLOEXEC);
    if (descriptor < 0) RaiseSystemError();
    const int synced = ::fsync(descriptor);
    const int error = errno;
    ::close(descriptor);
    if (synced != 0) {
        errno = error;
        RaiseSystemError();
    }
}

std::string FolderOf(const std::string& Path) {
    const auto slash = Path.find_last_of('/');
    return slash == std::string::npos ? std::string(".") : Path.substr(0, slash + 1);
}

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

std::string ReserveTemporaryPrompt(const std::string& Folder) {
    std::string pattern = Folder + TemporaryPrefix + "XXXXXX" + TemporarySuffix;
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int descriptor = ::mkstemps(name.data(), static_cast<int>(std::strlen(TemporarySuffix)));
    if (descriptor < 0) RaiseSystemError();
    ::close(descriptor);
    return name.data();
}

bool IsTemporaryPromptName(const std::string& FileName) {
    const std::size_t prefix = std::strlen(TemporaryPrefix);
    const std::size_t suffix = std::strlen(TemporarySuffix);
    return FileName.size() == prefix + 6 + suffix && FileName.compare(0, prefix, TemporaryPrefix) == 0 &&
           FileName.compare(prefix + 6, suffix, TemporarySuffix) == 0;
}

void RemoveLeftoverTemporaryPrompts(const std::string& Folder) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(Folder, error)) {
        if (IsTemporaryPromptName(entry.path().filename().string()) && entry.is_regular_file(error))
            std::filesystem::remove(entry.path(), error);
    }
}

void InstallPrompt(const std::string& Finished, const std::string& Target) {
    SyncPath(Finished, O_RDONLY);
    if (::rename(Finished.c_str(), Target.c_str()) != 0) RaiseSystemError();
    SyncPath(FolderOf(Target), O_RDONLY | O_DIRECTORY);
}

}  // namespace quorvel
