#include "CardTestSupport.h"

#include <cerrno>
#include <fstream>
#include <random>
#include <sstream>

namespace quorvel::testing {
namespace {

bool endsWith(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

bool matchesAny(const std::vector<std::string>& suffixes, const std::string& path) {
    for (const std::string& suffix : suffixes) {
        if (endsWith(path, suffix)) return true;
    }
    return false;
}

}  // namespace

TemporaryFolder::TemporaryFolder() {
    std::random_device random;
    path_ = std::filesystem::temp_directory_path() /
            ("quorvel-test-" + std::to_string(random()) + std::to_string(random()));
    std::filesystem::create_directories(path_);
}

TemporaryFolder::~TemporaryFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

void TemporaryFolder::write(const std::string& name, const std::string& bytes) const {
    std::ofstream(path_ / name, std::ios::binary | std::ios::trunc) << bytes;
}

std::string TemporaryFolder::read(const std::string& name) const {
    std::ifstream in(path_ / name, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

bool TemporaryFolder::exists(const std::string& name) const { return std::filesystem::exists(path_ / name); }

void TemporaryFolder::remove(const std::string& name) const { std::filesystem::remove(path_ / name); }

std::map<std::string, std::string> TemporaryFolder::snapshot() const {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(path_)) {
        files[entry.path().filename().string()] = read(entry.path().filename().string());
    }
    return files;
}

void FaultyFileSystem::fail(Call call, std::string suffix, int error) {
    faults_.push_back({call, std::move(suffix), error});
}

void FaultyFileSystem::markReadOnly(std::string suffix) { readOnly_.push_back(std::move(suffix)); }

void FaultyFileSystem::markVanished(std::string suffix) { vanished_.push_back(std::move(suffix)); }

void FaultyFileSystem::markShortWrites(std::string suffix) { shortWrites_.push_back(std::move(suffix)); }

int FaultyFileSystem::calls(Call call) const {
    auto found = calls_.find(call);
    return found == calls_.end() ? 0 : found->second;
}

int FaultyFileSystem::injected(Call call, const std::string& path) {
    ++calls_[call];
    for (const Fault& fault : faults_) {
        if (fault.call == call && endsWith(path, fault.suffix)) return fault.error;
    }
    return 0;
}

FileStatus FaultyFileSystem::status(const std::string& path) {
    ++calls_[Call::Status];
    if (matchesAny(vanished_, path)) return {};
    FileStatus status = realFileSystem().status(path);
    if (matchesAny(readOnly_, path)) status.readOnly = true;
    // The writer's next calls concern this card file: remember it for handle faults.
    pendingTarget_ = path;
    return status;
}

int FaultyFileSystem::readAll(const std::string& path, std::string& bytes) {
    if (matchesAny(vanished_, path)) return ENOENT;
    if (int error = injected(Call::ReadAll, path)) return error;
    return realFileSystem().readAll(path, bytes);
}

int FaultyFileSystem::createNew(const std::string& path, int& handle) {
    if (int error = injected(Call::CreateNew, path)) return error;
    int error = realFileSystem().createNew(path, handle);
    if (error == 0) handlePaths_[handle] = path;
    return error;
}

int FaultyFileSystem::createTemporary(const std::string& directory, const std::string& prefix,
                                      const std::string& suffix, std::string& path, int& handle) {
    if (int error = injected(Call::CreateTemporary, pendingTarget_)) return error;
    int error = realFileSystem().createTemporary(directory, prefix, suffix, path, handle);
    if (error == 0) handlePaths_[handle] = pendingTarget_;
    return error;
}

int FaultyFileSystem::openRead(const std::string& path, int& handle) {
    if (onOpenRead) onOpenRead(path);
    if (int error = injected(Call::OpenRead, path)) return error;
    int error = realFileSystem().openRead(path, handle);
    if (error == 0) handlePaths_[handle] = path;
    return error;
}

int FaultyFileSystem::read(int handle, char* data, std::size_t size, std::size_t& got) {
    if (int error = injected(Call::Read, handlePaths_[handle])) return error;
    return realFileSystem().read(handle, data, size, got);
}

int FaultyFileSystem::openUpdate(const std::string& path, int& handle) {
    if (int error = injected(Call::OpenRead, path)) return error;
    int error = realFileSystem().openUpdate(path, handle);
    if (error == 0) handlePaths_[handle] = path;
    return error;
}

int FaultyFileSystem::readAt(int handle, std::uint64_t offset, char* data, std::size_t size, std::size_t& got) {
    if (int error = injected(Call::Read, handlePaths_[handle])) return error;
    return realFileSystem().readAt(handle, offset, data, size, got);
}

int FaultyFileSystem::writeAt(int handle, std::uint64_t offset, const char* data, std::size_t size) {
    if (int error = injected(Call::Write, handlePaths_[handle])) return error;
    if (matchesAny(shortWrites_, handlePaths_[handle])) return realFileSystem().writeAt(handle, offset, data, size / 2);
    return realFileSystem().writeAt(handle, offset, data, size);
}

int FaultyFileSystem::truncate(int handle, std::uint64_t size) {
    if (int error = injected(Call::Write, handlePaths_[handle])) return error;
    return realFileSystem().truncate(handle, size);
}

int FaultyFileSystem::size(int handle, std::uint64_t& bytes) { return realFileSystem().size(handle, bytes); }

int FaultyFileSystem::write(int handle, const char* data, std::size_t size) {
    if (int error = injected(Call::Write, handlePaths_[handle])) {
        // Part of the data reaches the disk before the medium fills up.
        realFileSystem().write(handle, data, size / 2);
        return error;
    }
    if (matchesAny(shortWrites_, handlePaths_[handle])) return realFileSystem().write(handle, data, size / 2);
    return realFileSystem().write(handle, data, size);
}

int FaultyFileSystem::setMode(int handle, unsigned mode) {
    if (int error = injected(Call::SetMode, handlePaths_[handle])) return error;
    return realFileSystem().setMode(handle, mode);
}

unsigned FaultyFileSystem::newFileMode() { return realFileSystem().newFileMode(); }

int FaultyFileSystem::sync(int handle) {
    if (int error = injected(Call::Sync, handlePaths_[handle])) return error;
    return realFileSystem().sync(handle);
}

void FaultyFileSystem::startWriteback(int handle) { realFileSystem().startWriteback(handle); }

void FaultyFileSystem::awaitWriteback(int handle) { realFileSystem().awaitWriteback(handle); }

int FaultyFileSystem::close(int handle) {
    std::string path = handlePaths_[handle];
    handlePaths_.erase(handle);
    int error = realFileSystem().close(handle);
    if (int injectedError = injected(Call::Close, path)) return injectedError;
    return error;
}

int FaultyFileSystem::rename(const std::string& from, const std::string& to) {
    if (int error = injected(Call::Rename, to)) return error;
    renamed_.push_back(std::filesystem::path(to).filename().string());
    return realFileSystem().rename(from, to);
}

int FaultyFileSystem::remove(const std::string& path) { return realFileSystem().remove(path); }

int FaultyFileSystem::syncFolder(const std::string& directory) {
    if (int error = injected(Call::SyncFolder, directory)) return error;
    return realFileSystem().syncFolder(directory);
}

int FaultyFileSystem::freeSpace(const std::string& directory, std::uint64_t& bytes, std::uint64_t& blockSize) {
    if (int error = realFileSystem().freeSpace(directory, bytes, blockSize)) return error;
    if (freeBytes_) bytes = *freeBytes_;
    return 0;
}

int FaultyFileSystem::syncFileSystem(const std::string& directory) {
    ++calls_[Call::SyncFileSystem];
    return realFileSystem().syncFileSystem(directory);
}

int FaultyFileSystem::listNames(const std::string& directory, std::vector<std::string>& names) {
    return realFileSystem().listNames(directory, names);
}

}  // namespace quorvel::testing
