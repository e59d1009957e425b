#include "operations/SafetyCopies.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <vector>

namespace quorvel {

namespace fs = std::filesystem;

namespace {

std::string dataHome() {
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg != nullptr && xdg[0] == '/') return xdg;
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr ? home : "") + "/.local/share";
}

std::string timeName(std::time_t now) {
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d_%H-%M-%S", &local);
    return text;
}

}  // namespace

std::string safetyCopiesFolder() { return dataHome() + "/ajustor-quorvel/antes-da-restauracao/"; }

std::string createSafetyCopyFolder(const std::string& parent, std::time_t now, std::string& error) {
    std::error_code code;
    fs::create_directories(parent, code);
    if (code) {
        error = code.message();
        return {};
    }
    const std::string base = timeName(now);
    for (int attempt = 1;; ++attempt) {
        const fs::path folder = fs::path(parent) / (attempt == 1 ? base : base + "-" + std::to_string(attempt));
        if (fs::create_directory(folder, code)) return folder.string() + "/";
        if (code) {
            error = code.message();
            return {};
        }
    }
}

void pruneSafetyCopies(const std::string& parent, std::size_t keep) {
    std::error_code code;
    std::vector<fs::path> folders;
    for (const fs::directory_entry& entry : fs::directory_iterator(parent, code)) {
        if (entry.is_directory(code)) folders.push_back(entry.path());
    }
    if (folders.size() <= keep) return;
    // The names sort as the times they were made at.
    std::sort(folders.begin(), folders.end());
    for (std::size_t i = 0; i + keep < folders.size(); ++i) fs::remove_all(folders[i], code);
}

}  // namespace quorvel
