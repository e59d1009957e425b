#include "operations/history/CardId.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

namespace quorvel {

namespace fs = std::filesystem;

namespace {

std::string readText(const fs::path& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// mountinfo writes space, tab, newline and backslash as \ and three octal digits.
std::string unescapeMountField(const std::string& field) {
    std::string plain;
    for (std::size_t i = 0; i < field.size(); ++i) {
        const bool escape = field[i] == '\\' && i + 3 < field.size() &&
                            field.substr(i + 1, 3).find_first_not_of("01234567") == std::string::npos;
        if (escape) {
            plain += static_cast<char>(std::stoi(field.substr(i + 1, 3), nullptr, 8));
            i += 3;
        } else {
            plain += field[i];
        }
    }
    return plain;
}

std::vector<std::string> words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> fields;
    for (std::string field; in >> field;) fields.push_back(field);
    return fields;
}

// Card readers show their disks as removable; SD slots and USB sticks sit on
// those buses even when the flag is not set.
bool removableDisk(const fs::path& systemRoot, const std::string& device) {
    std::error_code error;
    fs::path block = fs::canonical(systemRoot / "sys/class/block" / device, error);
    if (error) return false;
    if (fs::exists(block / "partition", error)) block = block.parent_path();
    if (readText(block / "removable").starts_with("1")) return true;
    const std::string where = block.string();
    return where.find("/usb") != std::string::npos || where.find("/mmc") != std::string::npos;
}

std::string volumeUuid(const fs::path& systemRoot, const std::string& source) {
    if (!source.starts_with("/dev/")) return {};
    std::error_code error;
    // /dev/mapper and /dev/disk names are links to the kernel's device name.
    fs::path device = fs::canonical(systemRoot / source.substr(1), error);
    const std::string name = error ? fs::path(source).filename().string() : device.filename().string();
    if (!removableDisk(systemRoot, name)) return {};
    for (const fs::directory_entry& link : fs::directory_iterator(systemRoot / "dev/disk/by-uuid", error)) {
        const fs::path target = fs::read_symlink(link.path(), error);
        if (!error && target.filename() == name) return link.path().filename().string();
    }
    return {};
}

// FNV-1a: the same on every machine and in every build.
std::string pathHash(const std::string& path) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const unsigned char c : path) hash = (hash ^ c) * 1099511628211ull;
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
    return std::string("pasta-") + hex;
}

}  // namespace

std::string mountSource(const std::string& mountinfo, const std::string& mountPoint) {
    std::istringstream lines(mountinfo);
    std::string source;
    for (std::string line; std::getline(lines, line);) {
        const std::vector<std::string> fields = words(line);
        // id parent major:minor root mount-point options [optional...] - type source super-options
        if (fields.size() < 7 || unescapeMountField(fields[4]) != mountPoint) continue;
        for (std::size_t i = 6; i + 2 < fields.size(); ++i) {
            // A later mount over the same point hides the earlier ones.
            if (fields[i] == "-") source = unescapeMountField(fields[i + 2]);
        }
    }
    return source;
}

std::string cardId(const std::string& folder, const std::string& systemRoot) {
    std::error_code error;
    fs::path real = fs::canonical(folder, error);
    std::string path = error ? fs::absolute(folder, error).lexically_normal().string() : real.string();
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    const fs::path root = systemRoot.empty() ? fs::path("/") : fs::path(systemRoot);
    const std::string uuid = volumeUuid(root, mountSource(readText(root / "proc/self/mountinfo"), path));
    return uuid.empty() ? pathHash(path) : uuid;
}

}  // namespace quorvel
