// The voice prompt of each menu as a file of the card folder: the one
// judgement of whether the device plays it, and the one reader and writer
// of its 16-bit mono samples. Everything goes through the FileSystem seam.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>

#include "FileSystem.h"
#include "PromptHeader.h"

namespace quorvel {

enum class PromptState {
    Playable,
    Missing,     // nothing of that name
    Unplayable,  // a folder, a device, or a file the device cannot play
};

struct PromptVerdict {
    PromptState state = PromptState::Missing;
    std::string reason;  // for Unplayable, as the user reads it
    std::uint32_t sampleRate = 0;
    std::uint32_t dataBytes = 0;  // of a playable prompt
};

// The prompts are numbered 0 to 9 for the menus and 10 for the Vinheta.
inline constexpr int VinhetaPromptIndex = 10;
inline constexpr int PromptCount = 11;

// "100.wav" ... "109.wav" for the menus 0 to 9, "132.wav" for the Vinheta;
// none for any other number.
std::optional<std::string> promptFileName(int promptIndex);

PromptVerdict judgePrompt(const std::string& path, FileSystem& files = realFileSystem());

// Looks at the prompt of `menu` in `folder` (which ends with a separator).
PromptState promptState(const std::string& folder, int menu);

// Errors of the reader and the writer: the text names the file.
class PromptFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// How many samples a walk through a prompt reads or writes at a time.
constexpr std::size_t PromptBlockSamples = 32768;

// The samples of a playable prompt, read in order; optionally rewritten in
// place, which may also shorten it.
class PromptReader {
public:
    enum class Access { Read, Update };

    explicit PromptReader(FileSystem& files = realFileSystem()) : files_(files) {}
    ~PromptReader();
    PromptReader(const PromptReader&) = delete;
    PromptReader& operator=(const PromptReader&) = delete;

    // Judges `path` and, when the device plays it, opens it. Raises
    // PromptFileError when a playable prompt cannot be opened.
    const PromptVerdict& open(const std::string& path, Access access = Access::Read);
    bool isOpen() const { return handle_ >= 0; }

    std::uint32_t sampleRate() const { return verdict_.sampleRate; }
    std::uint64_t sampleCount() const { return verdict_.dataBytes / 2; }

    // Up to `count` samples from `first` on; fewer only at the end of the data.
    std::size_t readAt(std::uint64_t first, std::int16_t* into, std::size_t count);
    // Reads on from where the last read ended.
    std::size_t read(std::int16_t* into, std::size_t count);
    void writeAt(std::uint64_t first, const std::int16_t* samples, std::size_t count);
    // Keeps the first `count` samples only; the header is rewritten to match.
    void shorten(std::uint64_t count);
    // Lets the disk start on what was written; only a head start.
    void startWriteback() { files_.startWriteback(handle_); }
    void close();

private:
    FileSystem& files_;
    std::string path_;
    PromptVerdict verdict_;
    int handle_ = -1;
    std::uint64_t next_ = 0;
};

// Writes a prompt as the device plays it into a file opened for writing;
// the header is completed by finish().
class PromptWriter {
public:
    PromptWriter(FileSystem& files, int handle, std::string path, std::uint32_t sampleRate);

    void append(const std::int16_t* samples, std::size_t count);
    void finish();

private:
    FileSystem& files_;
    int handle_;
    std::string path_;
    std::uint32_t sampleRate_;
    std::uint64_t dataBytes_ = 0;
};

}  // namespace quorvel
