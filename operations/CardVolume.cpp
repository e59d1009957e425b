#include "operations/CardVolume.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace quorvel {

namespace {

namespace fs = std::filesystem;

bool onDevice(const fs::path& link, dev_t device) {
    struct stat target {};
    return ::stat(link.c_str(), &target) == 0 && target.st_dev == device;
}

// What /proc shows of a process: its open files, working and root folder.
bool usesDevice(const fs::path& process, dev_t device) {
    if (onDevice(process / "cwd", device) || onDevice(process / "root", device)) return true;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(process / "fd", error)) {
        if (onDevice(entry.path(), device)) return true;
    }
    return false;
}

}  // namespace

CardResult syncVolume(const std::string& folder) {
    const int handle = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (handle < 0) return CardResult::failed(std::strerror(errno), folder);
    const int error = ::syncfs(handle) == 0 ? 0 : errno;
    ::close(handle);
    if (error != 0) return CardResult::failed(std::strerror(error), folder);
    return {};
}

std::vector<std::string> processesUsingVolume(const std::string& folder) {
    struct stat card {};
    if (::stat(folder.c_str(), &card) != 0) return {};
    std::vector<std::pair<long, std::string>> found;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator("/proc", error)) {
        const std::string pid = entry.path().filename().string();
        if (!std::all_of(pid.begin(), pid.end(), [](char c) { return c >= '0' && c <= '9'; })) continue;
        if (!usesDevice(entry.path(), card.st_dev)) continue;
        std::string name;
        std::getline(std::ifstream(entry.path() / "comm"), name);
        found.emplace_back(std::stol(pid), name + " (pid " + pid + ")");
    }
    std::sort(found.begin(), found.end());
    std::vector<std::string> names;
    for (auto& [pid, name] : found) names.push_back(std::move(name));
    return names;
}

}  // namespace quorvel
