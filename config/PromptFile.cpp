#include "PromptFile.h"

#include <algorithm>
#include <bit>
#include <cerrno>

#include "CardError.h"

namespace quorvel {
namespace {

// Samples are stored little-endian and copied as they are.
static_assert(std::endian::native == std::endian::little);

class HandleBytes final : public ByteSource {
public:
    HandleBytes(FileSystem& files, int handle, std::uint64_t size) : files_(files), handle_(handle), size_(size) {}

    std::uint64_t size() const override { return size_; }

    std::size_t readAt(std::uint64_t offset, unsigned char* into, std::size_t count) override {
        std::size_t got = 0;
        if (files_.readAt(handle_, offset, reinterpret_cast<char*>(into), count, got) != 0) failed_ = true;
        return got;
    }

    bool failed() const { return failed_; }

private:
    FileSystem& files_;
    int handle_;
    std::uint64_t size_;
    bool failed_ = false;
};

[[noreturn]] void fail(const char* what, const std::string& path, int error) {
    throw PromptFileError(std::string(what) + " \"" + path + "\": " + writeErrorMessage(error));
}

// Opens and judges; the handle stays open only for a playable prompt.
PromptVerdict judgeOpen(FileSystem& files, const std::string& path, bool update, int& handle) {
    PromptVerdict verdict;
    handle = -1;
    const FileStatus status = files.status(path);
    if (!status.exists) return verdict;
    verdict.state = PromptState::Unplayable;
    if (!status.regular) {
        verdict.reason = "não é um arquivo comum";
        return verdict;
    }
    const int error = update ? files.openUpdate(path, handle) : files.openRead(path, handle);
    std::uint64_t size = 0;
    if (error == 0 && files.size(handle, size) == 0) {
        HandleBytes bytes(files, handle, size);
        const PromptHeaderVerdict header = judgePromptHeader(bytes);
        if (bytes.failed()) {
            verdict.reason = "não pôde ser lido";
        } else if (header.playable) {
            verdict.state = PromptState::Playable;
            verdict.sampleRate = header.sampleRate;
            verdict.dataBytes = header.dataBytes;
            return verdict;
        } else {
            verdict.reason = header.reason;
        }
    } else {
        verdict.reason = error == 0 ? "não pôde ser lido" : "não pôde ser aberto";
    }
    if (handle >= 0) files.close(handle);
    handle = -1;
    return verdict;
}

}  // namespace

std::optional<std::string> promptFileName(int promptIndex) {
    if (promptIndex >= 0 && promptIndex <= 9) return std::to_string(100 + promptIndex) + ".wav";
    if (promptIndex == VinhetaPromptIndex) return "132.wav";
    return std::nullopt;
}

PromptVerdict judgePrompt(const std::string& path, FileSystem& files) {
    int handle = -1;
    PromptVerdict verdict = judgeOpen(files, path, false, handle);
    if (handle >= 0) files.close(handle);
    return verdict;
}

PromptState promptState(const std::string& folder, int menu) {
    const std::optional<std::string> name = promptFileName(menu);
    return name ? judgePrompt(folder + *name).state : PromptState::Missing;
}

PromptReader::~PromptReader() { close(); }

const PromptVerdict& PromptReader::open(const std::string& path, Access access) {
    close();
    path_ = path;
    next_ = 0;
    verdict_ = judgeOpen(files_, path, access == Access::Update, handle_);
    return verdict_;
}

void PromptReader::close() {
    if (handle_ >= 0) files_.close(handle_);
    handle_ = -1;
}

std::size_t PromptReader::readAt(std::uint64_t first, std::int16_t* into, std::size_t count) {
    if (first >= sampleCount()) return 0;
    const auto wanted = static_cast<std::size_t>(std::min<std::uint64_t>(count, sampleCount() - first));
    std::size_t got = 0;
    if (int error =
            files_.readAt(handle_, kPromptHeaderSize + first * 2, reinterpret_cast<char*>(into), wanted * 2, got))
        fail("Não foi possível ler", path_, error);
    // The header was judged against the file's size: a file that shrinks
    // while it is read is a failed read.
    if (got != wanted * 2) fail("Não foi possível ler", path_, EIO);
    return wanted;
}

std::size_t PromptReader::read(std::int16_t* into, std::size_t count) {
    const std::size_t got = readAt(next_, into, count);
    next_ += got;
    return got;
}

void PromptReader::writeAt(std::uint64_t first, const std::int16_t* samples, std::size_t count) {
    if (int error =
            files_.writeAt(handle_, kPromptHeaderSize + first * 2, reinterpret_cast<const char*>(samples), count * 2))
        fail("Não foi possível gravar", path_, error);
}

void PromptReader::shorten(std::uint64_t count) {
    if (count >= sampleCount()) return;
    unsigned char header[kPromptHeaderSize];
    makePromptHeader(header, verdict_.sampleRate, static_cast<std::uint32_t>(count * 2));
    if (int error = files_.writeAt(handle_, 0, reinterpret_cast<const char*>(header), sizeof header))
        fail("Não foi possível gravar", path_, error);
    if (int error = files_.truncate(handle_, kPromptHeaderSize + count * 2))
        fail("Não foi possível gravar", path_, error);
    verdict_.dataBytes = static_cast<std::uint32_t>(count * 2);
}

PromptWriter::PromptWriter(FileSystem& files, int handle, std::string path, std::uint32_t sampleRate)
    : files_(files), handle_(handle), path_(std::move(path)), sampleRate_(sampleRate) {}

void PromptWriter::append(const std::int16_t* samples, std::size_t count) {
    // A prompt's sizes are 32-bit: more would not fit its header.
    if (dataBytes_ + count * 2 > 0xFFFFFFFFu - 36) fail("Não foi possível gravar", path_, EFBIG);
    if (int error =
            files_.writeAt(handle_, kPromptHeaderSize + dataBytes_, reinterpret_cast<const char*>(samples), count * 2))
        fail("Não foi possível gravar", path_, error);
    dataBytes_ += count * 2;
}

void PromptWriter::finish() {
    unsigned char header[kPromptHeaderSize];
    makePromptHeader(header, sampleRate_, static_cast<std::uint32_t>(dataBytes_));
    if (int error = files_.writeAt(handle_, 0, reinterpret_cast<const char*>(header), sizeof header))
        fail("Não foi possível gravar", path_, error);
}

}  // namespace quorvel
