#include "operations/history/BlobCache.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

namespace quorvel {

namespace {

constexpr std::int64_t kQuietNs = 3'000'000'000;

std::int64_t nanoseconds(const timespec& time) {
    return static_cast<std::int64_t>(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}

}  // namespace

FileStamp stampOf(const struct stat& status) {
    return {static_cast<std::uint64_t>(status.st_ino), static_cast<std::int64_t>(status.st_size),
            nanoseconds(status.st_mtim), nanoseconds(status.st_ctim)};
}

BlobCache::BlobCache(std::string file) : file_(std::move(file)) {
    std::ifstream in(file_);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string name;
        Entry entry;
        fields >> name >> entry.stamp.inode >> entry.stamp.size >> entry.stamp.modifiedNs >> entry.stamp.changedNs >>
            entry.blob;
        if (fields && entry.blob.size() == 40) loaded_[name] = entry;
    }
}

std::string BlobCache::find(const std::string& name, const FileStamp& stamp) const {
    const auto found = loaded_.find(name);
    return found != loaded_.end() && found->second.stamp == stamp ? found->second.blob : std::string();
}

void BlobCache::keep(const std::string& name, const FileStamp& stamp, const std::string& blob, std::int64_t nowNs) {
    if (stamp.modifiedNs < nowNs - kQuietNs) kept_[name] = {stamp, blob};
}

std::string BlobCache::save() const {
    std::ostringstream text;
    for (const auto& [name, entry] : kept_) {
        text << name << ' ' << entry.stamp.inode << ' ' << entry.stamp.size << ' ' << entry.stamp.modifiedNs << ' '
             << entry.stamp.changedNs << ' ' << entry.blob << '\n';
    }
    // Renamed into place whole, so a killed writer leaves the old cache.
    const std::string temporary = file_ + ".new";
    std::FILE* out = std::fopen(temporary.c_str(), "wb");
    if (out == nullptr) return temporary + ": " + std::strerror(errno);
    const std::string bytes = text.str();
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    if (std::fclose(out) != 0 || !written || std::rename(temporary.c_str(), file_.c_str()) != 0) {
        return file_ + ": " + std::strerror(errno);
    }
    return {};
}

}  // namespace quorvel
