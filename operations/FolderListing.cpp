#include "operations/FolderListing.h"

#include <algorithm>
#include <cstring>

#include "config/FileReplace.h"

namespace quorvel {
namespace {

unsigned char folded(char c) {
    auto byte = static_cast<unsigned char>(c);
    return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte - 'A' + 'a') : byte;
}

}  // namespace

bool caseBlindLess(const std::string& left, const std::string& right) {
    bool less = std::lexicographical_compare(left.begin(), left.end(), right.begin(), right.end(),
                                             [](char a, char b) { return folded(a) < folded(b); });
    bool greater = std::lexicographical_compare(right.begin(), right.end(), left.begin(), left.end(),
                                                [](char a, char b) { return folded(a) < folded(b); });
    return less || (!greater && left < right);
}

CardResult listPlainFiles(FileSystem& fileSystem, const std::string& folder, std::vector<std::string>& names) {
    std::vector<std::string> entries;
    if (int error = fileSystem.listNames(folder, entries)) return CardResult::failed(std::strerror(error), folder);
    names.clear();
    for (std::string& name : entries) {
        if (name.front() == '.' || isLeftoverTemporaryName(name)) continue;
        const FileStatus status = fileSystem.status(folder + name);
        if (status.regular && !status.link) names.push_back(std::move(name));
    }
    std::sort(names.begin(), names.end(), caseBlindLess);
    return {};
}

}  // namespace quorvel
