#include "operations/prompt/PromptLeveller.h"

#include "PromptTestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace quorvel::test {
namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> PcmWave(const std::vector<std::int16_t>& Samples, int Channels = 1, int Rate = 8000,
                                  int FormatTag = 1) {
    return test::PcmWave(std::vector<std::int32_t>(Samples.begin(), Samples.end()), Channels, Rate, 16, FormatTag);
}

class PromptLevellerTest : public ::testing::Test {
protected:
    fs::path Write(const std::vector<std::uint8_t>& Bytes) {
        std::ofstream(path_, std::ios::binary)
            .write(reinterpret_cast<const char*>(Bytes.data()), static_cast<std::streamsize>(Bytes.size()));
        return path_;
    }
    std::vector<std::uint8_t> Read() const {
        std::ifstream in(path_, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    void TearDown() override { fs::remove(path_); }

    fs::path path_ = fs::temp_directory_path() / ("leveller-" + std::to_string(::getpid()) + ".wav");
};

TEST_F(PromptLevellerTest, PeakLevellingRewritesOnlyTheSamples) {
    // Large enough for several read blocks, with the peak in the last one.
    std::vector<std::int16_t> samples(70000, 100);
    samples.back() = -200;
    const auto summary = LevelPromptFile(Write(PcmWave(samples)).string(), TLevelMode::Peak, 7);
    std::vector<std::int16_t> expected(70000, 16384);
    expected.back() = -32767;
    EXPECT_EQ(Read(), PcmWave(expected));
    EXPECT_EQ(summary.PeakBefore, 200);
    EXPECT_EQ(summary.PeakAfter, 32767);
    EXPECT_DOUBLE_EQ(summary.Gain, 32767.0 / 200.0);
    EXPECT_EQ(summary.Frames, 70000);
    EXPECT_EQ(summary.SampleRate, 8000);
    ASSERT_EQ(summary.Waveform.size(), 7u);
    EXPECT_EQ(summary.Waveform.front(), std::make_pair(std::int16_t{16384}, std::int16_t{16384}));
    EXPECT_EQ(summary.Waveform.back(), std::make_pair(std::int16_t{-32767}, std::int16_t{16384}));
}

TEST_F(PromptLevellerTest, NoneAndSilenceLeaveTheFileByteForByte) {
    const auto quiet = PcmWave({1, -2, 3, 0});
    LevelPromptFile(Write(quiet).string(), TLevelMode::None);
    EXPECT_EQ(Read(), quiet);
    const auto silent = PcmWave(std::vector<std::int16_t>(100, 0));
    const auto summary = LevelPromptFile(Write(silent).string(), TLevelMode::Speech);
    EXPECT_EQ(Read(), silent);
    EXPECT_FALSE(summary.TargetReached);
    EXPECT_FALSE(summary.SpeechLevelDbm0.has_value());
}

TEST_F(PromptLevellerTest, RefusesWhatTheConverterDoesNotWriteAndCutShortFiles) {
    auto cutShort = PcmWave({10, 20, -40});
    cutShort.pop_back();
    for (const auto& bytes :
         {PcmWave({1, 2}, 1, 8000, 3), std::vector<std::uint8_t>{'R', 'I', 'F', 'F'}, PcmWave({1, 2}, 0), cutShort}) {
        Write(bytes);
        EXPECT_THROW(LevelPromptFile(path_.string(), TLevelMode::Peak), std::runtime_error);
        EXPECT_EQ(Read(), bytes);
    }
    EXPECT_THROW(LevelPromptFile((path_.string() + ".missing"), TLevelMode::Peak), std::runtime_error);
}

TEST_F(PromptLevellerTest, WaveformColumnsHoldTheLowestAndHighestSampleOfTheirFrames) {
    const struct {
        std::size_t Frames;
        int Channels;
        int Columns;
    } rows[] = {{100003, 1, 640}, {5, 1, 16}, {70001, 1, 333}, {32768, 1, 1}};
    for (const auto& row : rows) {
        std::vector<std::int16_t> samples(row.Frames * static_cast<std::size_t>(row.Channels));
        for (std::size_t i = 0; i < samples.size(); ++i)
            samples[i] = static_cast<std::int16_t>(static_cast<int>((i * 7919) % 20001) - 10000);
        Write(PcmWave(samples, row.Channels));
        const TPromptSummary summary = LevelPromptFile(path_.string(), TLevelMode::None, row.Columns);
        std::vector<std::pair<std::int16_t, std::int16_t>> expected(static_cast<std::size_t>(row.Columns), {0, 0});
        std::vector<bool> seen(expected.size(), false);
        for (std::size_t i = 0; i < samples.size(); ++i) {
            const std::size_t frame = i / static_cast<std::size_t>(row.Channels);
            const std::size_t column = frame * static_cast<std::size_t>(row.Columns) / row.Frames;
            auto& [low, high] = expected[column];
            if (!seen[column]) low = high = samples[i];
            seen[column] = true;
            low = std::min(low, samples[i]);
            high = std::max(high, samples[i]);
        }
        EXPECT_EQ(summary.Waveform, expected) << row.Frames << " frames, " << row.Channels << " channels";
    }
}

}  // namespace
}  // namespace quorvel::test
