#include "draw/WholeFile.h"

#include "config/FileReplace.h"

namespace quorvel {
namespace {

// A picture or report being written; a killed run leaves one beside the output.
constexpr TemporaryKind kOutputTemporary{"qvr", ".tmp"};

}  // namespace

int saveWholeFile(const std::string& path, const QByteArray& bytes) {
    FileSystem& fileSystem = realFileSystem();
    const std::string folder = folderOf(path);
    if (int error = replaceWithBytes(fileSystem, folder, path, kOutputTemporary, bytes.constData(),
                                     static_cast<std::size_t>(bytes.size()))) {
        return error;
    }
    return syncReplacedFolder(fileSystem, folder);
}

}  // namespace quorvel
