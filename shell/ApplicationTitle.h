// The window's caption, also the caption of every message box.
#pragma once

#include <QString>

namespace quorvel {

inline QString applicationTitle() { return QStringLiteral("Ajustor Quorvel"); }

}  // namespace quorvel
