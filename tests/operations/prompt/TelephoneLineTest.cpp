#include "operations/prompt/TelephoneLine.h"

#include "PromptTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

namespace quorvel::test {
namespace {

TEST(TelephoneLine, ALawCodesOfTheRecommendation) {
    const std::pair<std::int16_t, std::uint8_t> rows[] = {
        {0, 0xD5}, {-1, 0x55}, {8, 0xD5}, {32767, 0xAA}, {-32768, 0x2A}, {1000, 0xFA}, {-1000, 0x7A},
    };
    for (const auto& [sample, code] : rows) EXPECT_EQ(ALawEncode(sample), code) << sample;
    // Every code decodes to a value that encodes back to it.
    for (int code = 0; code < 256; ++code)
        EXPECT_EQ(ALawEncode(ALawDecode(static_cast<std::uint8_t>(code))), code) << code;
    // The step grows with the magnitude: at most 1/32 of it, plus the first step.
    for (int sample = -32768; sample <= 32767; sample += 7) {
        const int back = ALawDecode(ALawEncode(static_cast<std::int16_t>(sample)));
        ASSERT_LE(std::abs(back - sample), std::abs(sample) / 32 + 16) << sample;
    }
}

// RMS of the second half of a 16-bit mono WAV, past the filters' settling.
double SteadyRms(const std::vector<std::int16_t>& Samples) {
    double sum = 0;
    for (std::size_t i = Samples.size() / 2; i < Samples.size(); ++i)
        sum += static_cast<double>(Samples[i]) * Samples[i];
    return std::sqrt(sum / static_cast<double>(Samples.size() - Samples.size() / 2));
}

// Tones at 44100 Hz, stereo: what reaches the caller is 8000 Hz mono of the
// same length, the speech band within the resampler's ripple and the rest
// held back.
TEST(TelephoneLine, CarriesTheSpeechBandAt8000Hz) {
    ScratchFolder folder;
    const struct {
        double Frequency;
        double MinGainDb;
        double MaxGainDb;
    } rows[] = {{1000, -2, 2}, {2000, -2, 2}, {100, -100, -12}, {3900, -100, -6}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Frequency);
        std::vector<std::int32_t> samples;
        const double amplitude = 10000;
        for (int i = 0; i < 44100; ++i) {
            const auto value =
                static_cast<std::int32_t>(amplitude * std::sin(2 * std::numbers::pi * row.Frequency * i / 44100));
            samples.push_back(value);
        }
        WriteFile(folder.path() / "in.wav", PcmWave(samples, 1, 44100));
        WriteFile(folder.path() / "out.wav", {});
        MakeTelephoneCopy((folder.path() / "in.wav").string(), (folder.path() / "out.wav").string());
        const auto out = ReadFile(folder.path() / "out.wav");
        ASSERT_GE(out.size(), 44U);
        EXPECT_EQ(out[24] | (out[25] << 8), 8000);
        EXPECT_EQ(out[22], 1) << "mono";
        const std::vector<std::int16_t> line = PcmSamples(out);
        EXPECT_NEAR(static_cast<double>(line.size()), 8000, 8);
        const double gainDb = 20 * std::log10(SteadyRms(line) / (amplitude / std::sqrt(2.0)));
        EXPECT_GE(gainDb, row.MinGainDb);
        EXPECT_LE(gainDb, row.MaxGainDb);
    }
}

TEST(TelephoneLine, WhatIsNotA16BitWaveIsRefused) {
    ScratchFolder folder;
    WriteFile(folder.path() / "eight.wav", PcmWave(std::vector<std::int32_t>(800, 10), 1, 8000, 8));
    WriteFile(folder.path() / "text.wav", {'t', 'e', 'x', 't'});
    for (const char* name : {"eight.wav", "text.wav", "absent.wav"})
        EXPECT_THROW(MakeTelephoneCopy((folder.path() / name).string(), (folder.path() / "out.wav").string()),
                     std::runtime_error)
            << name;
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "out.wav"));
}

}  // namespace
}  // namespace quorvel::test
