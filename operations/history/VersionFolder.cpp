#include "operations/history/VersionFolder.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "operations/history/CardHistory.h"

namespace quorvel {

namespace fs = std::filesystem;

VersionFolder::~VersionFolder() { remove(); }

void VersionFolder::remove() {
    if (path_.empty()) return;
    std::error_code ignored;
    fs::remove_all(path_, ignored);
    path_.clear();
    version_.clear();
}

std::string VersionFolder::materialise(const std::string& card, const std::string& rev) {
    remove();
    CardHistory history(card);
    std::string id;
    if (std::string error = history.resolve(rev, id); !error.empty()) return error;
    std::error_code code;
    std::string pattern = (fs::temp_directory_path(code) / "quorvel-versao-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) return pattern + ": " + std::strerror(errno);
    path_ = pattern + "/";
    if (std::string error = history.writeInto(id, path_); !error.empty()) {
        remove();
        return error;
    }
    version_ = id;
    return {};
}

}  // namespace quorvel
