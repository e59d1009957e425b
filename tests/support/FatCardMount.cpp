#include "FatCardMount.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

extern char** environ;

namespace {

// Big enough for a card with its prompts, small enough to format in a blink.
// No volume label: fusefat would list it as a file.
constexpr off_t kImageBytes = off_t{64} << 20;

// Runs a program found on PATH with its output discarded; its exit status,
// or -1 when it could not be started.
int runQuietly(std::vector<std::string> arguments) {
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t child = -1;
    int error = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) return -1;
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool onPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::string folders = path != nullptr ? path : "/usr/bin:/bin";
    folders += ":/usr/sbin:/sbin";
    std::size_t start = 0;
    while (start <= folders.size()) {
        std::size_t end = folders.find(':', start);
        if (end == std::string::npos) end = folders.size();
        std::string candidate = folders.substr(start, end - start) + "/" + program;
        if (::access(candidate.c_str(), X_OK) == 0) return true;
        start = end + 1;
    }
    return false;
}

// A mount point lies on another device than the folder holding it.
bool isMountPoint(const std::string& folder, const std::string& parent) {
    struct stat inside {};
    struct stat outside {};
    return ::stat(folder.c_str(), &inside) == 0 && ::stat(parent.c_str(), &outside) == 0 &&
           inside.st_dev != outside.st_dev;
}

}  // namespace

FatCardMount::FatCardMount() {
    std::string pattern = (std::filesystem::temp_directory_path() / "quorvel-fat-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        skipReason_ = std::string("cannot create a temporary folder: ") + std::strerror(errno);
        return;
    }
    workFolder_ = pattern + "/";
    image_ = workFolder_ + "card.img";
    folder_ = workFolder_ + "card/";
    mounted_ = mount();
}

bool FatCardMount::mount() {
    if (::access("/dev/fuse", R_OK | W_OK) != 0) {
        skipReason_ = std::string("/dev/fuse is not usable here: ") + std::strerror(errno);
        return false;
    }
    for (const char* program : {"mkfs.vfat", "fusefat"}) {
        if (!onPath(program)) {
            skipReason_ = std::string(program) + " is not installed (packages dosfstools and fusefat)";
            return false;
        }
    }
    int image = ::open(image_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (image < 0 || ::ftruncate(image, kImageBytes) != 0) {
        skipReason_ = std::string("cannot create the image file: ") + std::strerror(errno);
        if (image >= 0) ::close(image);
        return false;
    }
    ::close(image);
    if (runQuietly({"mkfs.vfat", "-F", "16", image_}) != 0) {
        skipReason_ = "mkfs.vfat could not format a FAT16 image";
        return false;
    }
    if (::mkdir(folder_.c_str(), 0755) != 0) {
        skipReason_ = std::string("cannot create the mount point: ") + std::strerror(errno);
        return false;
    }
    // fusefat returns once the file system is mounted and serves it in the
    // background, one request at a time. Never rewrite a file of the mount in
    // place: fusefat frees a truncated file's clusters yet goes on using them.
    if (runQuietly({"fusefat", "-s", "-o", "rw+", image_, folder_}) != 0 || !isMountPoint(folder_, workFolder_)) {
        skipReason_ = "fusefat could not mount the image (mounting needs root or FUSE rights)";
        return false;
    }
    return true;
}

FatCardMount::~FatCardMount() {
    if (workFolder_.empty()) return;
    // fusermount comes with FUSE 2, fusermount3 with FUSE 3; root can always umount.
    if (mounted_ && runQuietly({"fusermount", "-u", folder_}) != 0 && runQuietly({"fusermount3", "-u", folder_}) != 0)
        runQuietly({"umount", "-l", folder_});
    std::error_code ignored;
    if (!isMountPoint(folder_, workFolder_)) std::filesystem::remove_all(workFolder_, ignored);
}
