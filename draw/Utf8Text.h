// The UTF-8 texts of the configuration as Qt strings.
#pragma once

#include <QString>
#include <string_view>

namespace quorvel {

inline QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace quorvel
