#include "FormatsTestSupport.h"

#include <unistd.h>
#include <atomic>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace quorvel::test {

namespace fs = std::filesystem;

TScratchFolder::TScratchFolder() {
    static std::atomic<int> counter{0};
    FPath =
        fs::temp_directory_path() / ("quorvel-formats-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    fs::remove_all(FPath);
    fs::create_directories(FPath);
}

TScratchFolder::~TScratchFolder() {
    std::error_code ignored;
    fs::remove_all(FPath, ignored);
}

bool RunCommand(const std::string& Command) { return std::system((Command + " >/dev/null 2>&1").c_str()) == 0; }

bool RunFfmpeg(const std::string& Arguments) {
    return RunCommand("ffmpeg -nostdin -hide_banner -v error -y " + Arguments);
}

std::vector<std::uint8_t> FfmpegDecode(const fs::path& File) {
    const fs::path out = fs::path(File).replace_extension(".s16");
    if (!RunFfmpeg("-i '" + File.string() + "' -f s16le -c:a pcm_s16le '" + out.string() + "'"))
        throw std::runtime_error("ffmpeg could not decode " + File.string());
    return ReadWholeFile(out);
}

std::vector<std::uint8_t> ReadWholeFile(const fs::path& File) {
    std::ifstream in(File, std::ios::binary);
    return std::vector<std::uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteWholeFile(const fs::path& File, const std::vector<std::uint8_t>& Bytes) {
    std::ofstream out(File, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(Bytes.data()), static_cast<std::streamsize>(Bytes.size()));
}

}  // namespace quorvel::test
