#include "PromptFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "PromptHeader.h"
#include "ReadAt.h"

namespace quorvel {
namespace {

class FileBytes final : public ByteSource {
public:
    FileBytes(int descriptor, std::uint64_t size) : descriptor_(descriptor), size_(size) {}

    std::uint64_t size() const override { return size_; }

    std::size_t readAt(std::uint64_t offset, unsigned char* into, std::size_t count) override {
        return quorvel::readAt(descriptor_, offset, into, count);
    }

private:
    int descriptor_;
    std::uint64_t size_;
};

}  // namespace

std::optional<std::string> promptFileName(int promptIndex) {
    if (promptIndex >= 0 && promptIndex <= 9) return std::to_string(100 + promptIndex) + ".wav";
    if (promptIndex == VinhetaPromptIndex) return "132.wav";
    return std::nullopt;
}

PromptState promptState(const std::string& folder, int menu) {
    const std::string path = folder + promptFileName(menu).value_or("");
    // Non-blocking, so that a pipe standing under a prompt name cannot hang the check.
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (descriptor < 0) return PromptState::Missing;
    struct stat status {};
    PromptState state = PromptState::Missing;
    if (::fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode)) {
        FileBytes bytes(descriptor, static_cast<std::uint64_t>(status.st_size));
        state = isPlayablePromptHeader(bytes) ? PromptState::Playable : PromptState::Unplayable;
    }
    ::close(descriptor);
    return state;
}

}  // namespace quorvel
