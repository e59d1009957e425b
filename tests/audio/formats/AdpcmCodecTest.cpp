#include "WavTestSupport.h"

#include "audio/formats/ImaAdpcm.h"
#include "audio/formats/MsAdpcm.h"

#include <gtest/gtest.h>

#include <cmath>

namespace quorvel::test {
namespace {

TEST(ImaAdpcm, BlockLengthsGiveTheirFrameCounts) {
    struct Case {
        std::uint32_t Bytes, Channels, Frames;
    };
    for (const Case& c : {Case{512, 1, 1017}, Case{512, 2, 505}, Case{256, 1, 505}, Case{256, 2, 249}, Case{4, 1, 1},
                          Case{8, 2, 1}, Case{0, 1, 0}, Case{3, 1, 0}, Case{4, 2, 0}, Case{516, 2, 0}, Case{512, 3, 0}})
        EXPECT_EQ(ImaFramesPerBlock(c.Bytes, c.Channels), c.Frames) << c.Bytes << " bytes, " << c.Channels;
}

// Encoding then decoding keeps the header sample exactly and the rest within
// the quantiser's error, block after block with the step index carried over.
TEST(ImaAdpcm, DecodingAnEncodedBlockFollowsTheSignal) {
    for (std::uint32_t channels : {1U, 2U}) {
        const std::uint32_t frames = ImaFramesPerBlock(512, channels);
        const auto signal = TestSignal(frames * 3, static_cast<int>(channels));
        TImaChannelState states[2];
        std::vector<std::uint8_t> block(512);
        std::vector<std::int16_t> decoded(frames * channels);
        double squared = 0;
        for (std::uint32_t b = 0; b < 3; ++b) {
            const std::int16_t* samples = signal.data() + b * frames * channels;
            const std::uint8_t carried = states[0].StepIndex;
            ImaEncodeBlock(samples, block.data(), 512, channels, states);
            EXPECT_EQ(block[2], carried);
            ASSERT_EQ(ImaDecodeBlock(block.data(), 512, channels, decoded.data()), frames);
            for (std::uint32_t c = 0; c < channels; ++c) EXPECT_EQ(decoded[c], samples[c]);
            for (std::uint32_t i = 0; i < frames * channels; ++i)
                squared += std::pow(double(decoded[i]) - samples[i], 2);
        }
        const double rms = std::sqrt(squared / double(signal.size()));
        EXPECT_LT(rms, 1500.0) << channels << " channels";
    }
}

TEST(ImaAdpcm, ReconstructionStopsAtMinus32767) {
    std::uint8_t block[5] = {0x00, 0x80, 88, 0, 0xFF};  // -32768, then two largest negative codes
    std::int16_t samples[3];
    ASSERT_EQ(ImaDecodeBlock(block, 5, 1, samples), 3U);
    EXPECT_EQ(samples[0], -32768);
    EXPECT_EQ(samples[1], -32767);
    EXPECT_EQ(samples[2], -32767);
}

TEST(ImaAdpcm, StepIndexAbove88DecodesAsSilence) {
    std::vector<std::uint8_t> block(256, 0x37);
    block[2] = 89;
    std::vector<std::int16_t> samples(505, 1);
    ASSERT_EQ(ImaDecodeBlock(block.data(), 256, 1, samples.data()), 505U);
    for (std::int16_t s : samples) ASSERT_EQ(s, 0);
}

TEST(MsAdpcm, BlockLengthsGiveTheirFrameCounts) {
    EXPECT_EQ(MsFramesPerBlock(256, 1, 500), 500U);
    EXPECT_EQ(MsFramesPerBlock(256, 1, 501), 500U);
    EXPECT_EQ(MsFramesPerBlock(256, 2, 244), 244U);
    EXPECT_EQ(MsFramesPerBlock(256, 1, 502), 0U);  // 7 + 250 bytes
    EXPECT_EQ(MsFramesPerBlock(256, 2, 245), 0U);
    EXPECT_EQ(MsFramesPerBlock(256, 1, 1), 0U);
    EXPECT_EQ(MsFramesPerBlock(256, 3, 100), 0U);
}

TEST(MsAdpcm, DecodesHeaderSamplesThenNibblesWithDeltaFloor) {
    const TMsCoefficientPair pairs[2] = {{256, 0}, {512, -256}};
    // Predictor 0, delta 16, sample 1 = 100, sample 2 = 50; codes 1, 1 then 0xF, 8.
    const std::uint8_t block[9] = {0, 16, 0, 100, 0, 50, 0, 0x11, 0xF8};
    std::int16_t samples[6];
    ASSERT_EQ(MsDecodeBlock(block, 9, 1, 6, pairs, 2, samples), 6U);
    // 100 + 16 = 116; delta 16 x 230 / 256 = 14 rises to 16, so 116 + 16 = 132;
    // then -1 x 16 = 116 (delta 16 again), and -8 x 16 = -12.
    const std::int16_t expected[6] = {50, 100, 116, 132, 116, -12};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(samples[i], expected[i]) << i;
}

TEST(MsAdpcm, StereoTakesLeftFromTheHighNibble) {
    const TMsCoefficientPair pairs[2] = {{256, 0}, {512, -256}};
    // Left predictor 0, right 1; deltas 20, 30; sample 1: 10, 20; sample 2: 5, 15.
    const std::uint8_t block[15] = {0, 1, 20, 0, 30, 0, 10, 0, 20, 0, 5, 0, 15, 0, 0x21};
    std::int16_t samples[6];
    ASSERT_EQ(MsDecodeBlock(block, 15, 2, 3, pairs, 2, samples), 3U);
    const std::int16_t expected[6] = {5, 15, 10, 20, 10 + 2 * 20, 2 * 20 - 15 + 30};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(samples[i], expected[i]) << i;
}

TEST(MsAdpcm, PredictorIndexOutsideTheTableDecodesAsSilence) {
    const TMsCoefficientPair pairs[2] = {{256, 0}, {512, -256}};
    std::vector<std::uint8_t> block(256, 0x77);
    block[0] = 2;
    std::vector<std::int16_t> samples(500, 1);
    ASSERT_EQ(MsDecodeBlock(block.data(), 256, 1, 500, pairs, 2, samples.data()), 500U);
    for (std::int16_t s : samples) ASSERT_EQ(s, 0);
}

}  // namespace
}  // namespace quorvel::test
