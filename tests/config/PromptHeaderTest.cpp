#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>

#include "CardTestSupport.h"
#include "config/PromptFile.h"
#include "config/PromptHeader.h"

namespace quorvel {
namespace {

class MemoryBytes final : public ByteSource {
public:
    explicit MemoryBytes(std::string bytes) : bytes_(std::move(bytes)) {}

    std::uint64_t size() const override { return bytes_.size(); }
    std::size_t readAt(std::uint64_t offset, unsigned char* into, std::size_t count) override {
        if (offset >= bytes_.size()) return 0;
        const std::size_t got = std::min<std::size_t>(count, bytes_.size() - offset);
        std::copy_n(bytes_.data() + offset, got, into);
        return got;
    }

private:
    std::string bytes_;
};

std::string le16(unsigned value) { return {char(value & 0xFF), char(value >> 8 & 0xFF)}; }
std::string le32(std::uint32_t value) { return le16(value & 0xFFFF) + le16(value >> 16); }

std::string chunk(const std::string& id, const std::string& body) {
    return id + le32(static_cast<std::uint32_t>(body.size())) + body + (body.size() % 2 ? std::string(1, '\0') : "");
}

std::string format(unsigned tag, unsigned channels, unsigned bits, std::uint32_t rate = 8000) {
    return le16(tag) + le16(channels) + le32(rate) + le32(rate * channels * bits / 8) + le16(channels * bits / 8) +
           le16(bits);
}

const std::string kPcmGuid("\x01\x00\x00\x00\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71", 16);
const std::string kFloatGuid("\x03\x00\x00\x00\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71", 16);

std::string extensible(unsigned channels, unsigned bits, const std::string& guid) {
    return format(0xFFFE, channels, bits) + le16(22) + le16(bits) + le32(channels == 1 ? 4 : 3) + guid;
}

std::string wave(const std::string& chunks) {
    return "RIFF" + le32(static_cast<std::uint32_t>(4 + chunks.size())) + "WAVE" + chunks;
}

const std::string kSamples = chunk("data", std::string(64, '\x10'));
const std::string kPlayable = wave(chunk("fmt ", format(1, 1, 16)) + kSamples);

std::string verdictOf(const std::string& bytes) {
    MemoryBytes source(bytes);
    const PromptHeaderVerdict verdict = judgePromptHeader(source);
    EXPECT_EQ(verdict.playable, verdict.reason.empty());
    return verdict.playable ? "ok" : verdict.reason;
}

// The writer's layout and nothing else; the first fault is named, the
// format's before the layout's.
TEST(PromptHeader, OnlyTheWritersLayoutIsPlayable) {
    struct Case {
        const char* name;
        std::string bytes;
        std::string expected;
    };
    std::string riffSizeWrong = kPlayable;
    riffSizeWrong.replace(4, 4, le32(4));
    std::string byteRateWrong = kPlayable;
    byteRateWrong.replace(28, 4, le32(8000));
    std::string manyChunks;
    for (int i = 0; i < 100; ++i) manyChunks += chunk("junk", "ab");
    const Case cases[] = {
        {"plain PCM", kPlayable, "ok"},
        {"a chunk after the data", kPlayable + chunk("LIST", "abc"), "ok"},
        {"any RIFF size", riffSizeWrong, "ok"},
        {"odd-sized chunk before fmt", wave(chunk("LIST", "abc") + chunk("fmt ", format(1, 1, 16)) + kSamples),
         "bloco \"LIST\" antes dos dados"},
        {"odd-sized chunk without its pad byte",
         wave("LIST" + le32(3) + "abc" + chunk("fmt ", format(1, 1, 16)) + kSamples), "bloco \"LIST\" antes dos dados"},
        {"chunk of an unprintable tag",
         wave(chunk("fmt ", format(1, 1, 16)) +
              chunk(std::string("\x01\x02"
                                "ab"),
                    "xy") +
              kSamples),
         "bloco desconhecido antes dos dados"},
        {"fmt of 18 bytes", wave(chunk("fmt ", format(1, 1, 16) + le16(0)) + kSamples), "cabeçalho fora do padrão"},
        {"extensible PCM", wave(chunk("fmt ", extensible(1, 16, kPcmGuid)) + kSamples), "formato estendido"},
        {"byte rate not twice the rate", byteRateWrong, "taxa de bytes errada"},
        {"sample rate 0", wave(chunk("fmt ", format(1, 1, 16, 0)) + kSamples), "taxa de amostragem inválida"},
        {"odd data size", wave(chunk("fmt ", format(1, 1, 16)) + "data" + le32(3) + "abc"), "dados incompletos"},
        {"no data", wave(chunk("fmt ", format(1, 1, 16))), "sem dados de áudio"},
        {"short fmt body", wave(chunk("fmt ", format(1, 1, 16).substr(0, 14)) + kSamples), "não é WAV"},
        {"fmt larger than the file", wave("fmt " + le32(0xFFFFFFF0) + format(1, 1, 16)), "não é WAV"},
        {"huge chunk before fmt", wave("junk" + le32(0xFFFFFFFF) + chunk("fmt ", format(1, 1, 16))), "não é WAV"},
        {"no fmt at all", wave(kSamples), "não é WAV"},
        {"fmt behind too many chunks", wave(manyChunks + chunk("fmt ", format(1, 1, 16)) + kSamples), "não é WAV"},
        {"big-endian RIFX", "RIFX" + kPlayable.substr(4), "não é WAV"},
        {"not WAVE", kPlayable.substr(0, 8) + "AVI " + kPlayable.substr(12), "não é WAV"},
        {"RIFF past the first 8 KB", std::string(8200, ' ') + kPlayable, "não é WAV"},
        {"extensible float", wave(chunk("fmt ", extensible(1, 16, kFloatGuid)) + kSamples), "formato estendido"},
    };
    for (const Case& c : cases) EXPECT_EQ(verdictOf(c.bytes), c.expected) << c.name;
}

TEST(PromptHeader, EveryCutBeforeTheLastSampleIsRefused) {
    for (std::size_t length = 0; length < kPlayable.size(); ++length)
        EXPECT_NE(verdictOf(kPlayable.substr(0, length)), "ok") << length;
    EXPECT_EQ(verdictOf(kPlayable), "ok");
}

TEST(PromptFile, TellsMissingFromUnplayable) {
    testing::TemporaryFolder folder;
    folder.write("100.wav", kPlayable);
    folder.write("101.wav", wave(chunk("fmt ", format(1, 2, 16)) + kSamples));
    folder.write("102.wav", "");
    std::filesystem::create_directory(folder.path() / "103.wav");
    EXPECT_EQ(promptState(folder.folder(), 0), PromptState::Playable);
    EXPECT_EQ(promptState(folder.folder(), 1), PromptState::Unplayable);
    EXPECT_EQ(promptState(folder.folder(), 2), PromptState::Unplayable);
    EXPECT_EQ(promptState(folder.folder(), 3), PromptState::Unplayable) << "a folder is no prompt";
    EXPECT_EQ(promptState(folder.folder(), 9), PromptState::Missing);
}

TEST(PromptFile, NamesOfTheMenusAndTheVinheta) {
    const std::pair<int, std::optional<std::string>> rows[] = {
        {0, "100.wav"}, {5, "105.wav"}, {9, "109.wav"}, {10, "132.wav"}, {11, std::nullopt}, {-1, std::nullopt},
    };
    for (const auto& [index, name] : rows) EXPECT_EQ(promptFileName(index), name) << index;
}

}  // namespace
}  // namespace quorvel
