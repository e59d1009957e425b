#include "operations/prompt/PromptLeveller.h"

#include "PromptTestSupport.h"
#include "operations/levelling/SpeechLevel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
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

// The columns come from the samples as they were, mapped through the gain:
// they must be those of the samples as written.
TEST_F(PromptLevellerTest, WaveformColumnsHoldTheLowestAndHighestLevelledSampleOfTheirFrames) {
    const struct {
        std::size_t Frames;
        int Columns;
        TLevelMode Mode;
    } rows[] = {{100003, 640, TLevelMode::Peak},
                {5, 16, TLevelMode::None},
                {70001, 333, TLevelMode::Speech},
                {32768, 1, TLevelMode::Peak}};
    for (const auto& row : rows) {
        std::vector<std::int16_t> samples(row.Frames);
        for (std::size_t i = 0; i < samples.size(); ++i)
            samples[i] = static_cast<std::int16_t>(static_cast<int>((i * 7919) % 20001) - 10000);
        Write(PcmWave(samples));
        const TPromptSummary summary = LevelPromptFile(path_.string(), row.Mode, row.Columns);
        const std::vector<std::int16_t> written = PcmSamples(Read());
        ASSERT_EQ(written.size(), samples.size());
        std::vector<std::pair<std::int16_t, std::int16_t>> expected(static_cast<std::size_t>(row.Columns), {0, 0});
        std::vector<bool> seen(expected.size(), false);
        int peak = 0;
        for (std::size_t i = 0; i < written.size(); ++i) {
            const std::size_t column = i * static_cast<std::size_t>(row.Columns) / row.Frames;
            auto& [low, high] = expected[column];
            if (!seen[column]) low = high = written[i];
            seen[column] = true;
            low = std::min(low, written[i]);
            high = std::max(high, written[i]);
            peak = std::max(peak, std::abs(static_cast<int>(written[i])));
        }
        EXPECT_EQ(summary.Waveform, expected) << row.Frames << " frames";
        EXPECT_EQ(summary.PeakAfter, peak) << row.Frames << " frames";
        // The level moved by the gain is the level of what was written.
        TSpeechLevelMeter meter(8000);
        meter.Add(written.data(), written.size());
        ASSERT_EQ(summary.SpeechLevelDbm0.has_value(), meter.ActiveLevelDbm0().has_value());
        if (summary.SpeechLevelDbm0) {
            EXPECT_NEAR(*summary.SpeechLevelDbm0, *meter.ActiveLevelDbm0(), 0.05);
        }
    }
}

}  // namespace
}  // namespace quorvel::test
