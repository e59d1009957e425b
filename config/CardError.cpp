#include "CardError.h"

#include <cerrno>

namespace quorvel {

std::string cannotOpenMessage(std::string_view path, std::string_view reason) {
    std::string message = "Cannot open file \"";
    message += path;
    message += "\". ";
    message += reason;
    return message;
}

std::string emptyFileMessage() { return "List index out of bounds (-1)"; }

std::string writeErrorMessage(int errorNumber) {
    switch (errorNumber) {
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR:
        case EEXIST:  // creating a card file where a folder of that name stands
        case ETXTBSY:
            return "File access denied";
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            return "Disk full";
        case ENOENT:
        case ENOTDIR:
            return "File not found";
        case ENAMETOOLONG:
        case EINVAL:
            return "Invalid filename";
        case EMFILE:
        case ENFILE:
            return "Too many open files";
        default:
            return "I/O error " + std::to_string(errorNumber);
    }
}

std::string errorBoxText(std::string_view message) {
    std::string text(message);
    if (!text.empty() && static_cast<unsigned char>(text.back()) > static_cast<unsigned char>('.')) text += '.';
    return text;
}

}  // namespace quorvel
