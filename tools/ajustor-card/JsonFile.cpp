#include "JsonFile.h"

#include <cerrno>
#include <cstring>
#include <fstream>

namespace quorvel::card_tool {

std::optional<nlohmann::ordered_json> readJsonFile(const std::string& path, std::ostream& err) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        err << path << ": " << std::strerror(errno) << '\n';
        return std::nullopt;
    }
    try {
        return nlohmann::ordered_json::parse(file);
    } catch (const nlohmann::json::exception& error) {
        err << path << ": not JSON: " << error.what() << '\n';
        return std::nullopt;
    }
}

}  // namespace quorvel::card_tool
