// Pictures and reports saved where the technician chose: the new bytes go to
// a temporary file beside the target and are renamed over it, so that an
// earlier file keeps its content on any failure, a file is never left half
// written, and a symbolic link named as the target is replaced rather than
// written through.
#pragma once

#include <QByteArray>
#include <string>

namespace quorvel {

// 0, or the write's error: an errno value or kShortFile.
int saveWholeFile(const std::string& path, const QByteArray& bytes);

}  // namespace quorvel
