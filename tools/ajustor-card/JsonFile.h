// Reading a JSON file named on the command line, within limits no real
// configuration comes near, so that a hostile file costs neither memory nor
// time nor a crash.
#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <optional>
#include <ostream>
#include <string>
#include <variant>

#include "ExitCode.h"

namespace quorvel::card_tool {

// A configuration as `show` prints it takes about 20 KB and nests 4 deep.
inline constexpr std::uint64_t kMaxJsonBytes = 1 << 20;
inline constexpr int kMaxJsonDepth = 32;
// The members of one object or array: a configuration's longest list has 10.
inline constexpr std::size_t kMaxJsonMembers = 1000;

// Why `path` is refused as a JSON file before anything is locked or read: it
// is a FIFO, device or socket (reading one could block for good), or larger
// than kMaxJsonBytes. Nothing for a plain file within the limit, a folder
// (a card) or a path that does not exist (the reader reports it).
std::optional<std::string> checkJsonInput(const std::string& path);

// The parsed file; otherwise the status to end with, after saying why on
// `err`: ValueRefused for input past the limits above, CardFailure when it
// cannot be read or is not JSON.
std::variant<nlohmann::ordered_json, ExitCode> readJsonFile(const std::string& path, std::ostream& err);
// The same for the text of the file `path`.
std::variant<nlohmann::ordered_json, ExitCode> parseJson(const std::string& text, const std::string& path,
                                                         std::ostream& err);

}  // namespace quorvel::card_tool
