// Configuration texts are UTF-8 std::string; the widgets hold QString.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace quorvel {

inline QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string toStdString(const QString& text) { return text.toStdString(); }

}  // namespace quorvel
