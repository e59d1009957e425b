#include "PcmSource.h"

#include "audio/pipeline/AuException.h"
#include "audio/pipeline/FastResampler.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace quorvel::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Tone(std::size_t Frames, int Channels, double CyclesPerFrame, double Level, double Offset = 0) {
    Bytes bytes;
    for (std::size_t f = 0; f < Frames; ++f) {
        for (int c = 0; c < Channels; ++c) {
            const auto s = static_cast<std::int16_t>(
                std::lround(Offset + Level * std::sin(2 * M_PI * CyclesPerFrame * double(f))));
            bytes.push_back(static_cast<std::uint8_t>(s));
            bytes.push_back(static_cast<std::uint8_t>(static_cast<std::uint16_t>(s) >> 8));
        }
    }
    return bytes;
}

std::vector<std::int16_t> Samples(const Bytes& From) {
    std::vector<std::int16_t> samples(From.size() / 2);
    std::memcpy(samples.data(), From.data(), samples.size() * 2);
    return samples;
}

struct TRun {
    std::vector<std::uint32_t> Reads;  // bytes of each Read
    Bytes Out;
};

TRun Resample(TPcmSource& Source, std::uint32_t OutRate, std::uint32_t Request = 1 << 20) {
    TFastResampler resampler;
    resampler.SetInput(&Source);
    resampler.SetOutSampleRate(OutRate);
    resampler.Open();
    TRun run;
    for (;;) {
        const std::uint8_t* buffer = nullptr;
        std::uint32_t count = Request;
        resampler.Read(buffer, count);
        if (count == 0) break;
        run.Reads.push_back(count);
        run.Out.insert(run.Out.end(), buffer, buffer + count);
    }
    resampler.Close();
    return run;
}

TEST(FastResampler, RatesEqualAfterDivisionBy5PassTheDataThrough) {
    const Bytes data = Tone(1000, 2, 0.01, 10000);
    for (std::uint32_t out : {44100U, 44104U}) {
        TPcmSource source(data, 16, 2, 44100);
        EXPECT_EQ(Resample(source, out).Out, data) << out;
    }
    TPcmSource source(data, 16, 2, 44100);
    EXPECT_NE(Resample(source, 44099).Out, data);
}

TEST(FastResampler, BlocksHoldOrDropFramesByTheStepping) {
    TPcmSource up(Tone(4410 * 2, 2, 0.01, 10000), 16, 2, 22050);
    const TRun doubled = Resample(up, 44100);
    ASSERT_EQ(doubled.Reads.size(), 2U);
    EXPECT_EQ(doubled.Reads[0], 8819U * 4);
    TPcmSource down(Tone(8820 * 2, 1, 0.01, 10000), 16, 1, 44100);
    const TRun halved = Resample(down, 22050);
    ASSERT_EQ(halved.Reads.size(), 2U);
    EXPECT_EQ(halved.Reads[0], 4410U * 2);
}

TEST(FastResampler, SizeAndPositionFollowTheRatio) {
    TPcmSource source(Bytes(441000), 16, 2, 44100);
    TFastResampler resampler;
    resampler.SetInput(&source);
    resampler.SetOutSampleRate(22050);
    resampler.Open();
    EXPECT_EQ(resampler.Size(), 220500);
    const std::uint8_t* buffer = nullptr;
    std::uint32_t count = 1000;
    resampler.Read(buffer, count);
    EXPECT_EQ(resampler.Position(), 17640);  // one input block of 35280 bytes, halved
    resampler.Close();
}

// Unity gain at zero frequency through all four stages and across blocks,
// and a tone above the lower rate's band is taken out when decimating.
TEST(FastResampler, FilterKeepsTheLevelAndRemovesWhatWouldFoldBack) {
    TPcmSource level(Tone(44100, 1, 0.0, 0, 12000), 16, 1, 44100);
    const auto held = Samples(Resample(level, 22050).Out);
    ASSERT_EQ(held.size(), 22050U);
    for (std::size_t i = 2000; i < held.size(); ++i) ASSERT_NEAR(held[i], 12000 * 32767.0 / 32768, 2) << i;
    TPcmSource high(Tone(44100, 1, 0.4, 20000), 16, 1, 44100);
    const auto folded = Samples(Resample(high, 22050).Out);
    double peak = 0;
    for (std::size_t i = 2000; i < folded.size(); ++i) peak = std::max(peak, std::abs(double(folded[i])));
    EXPECT_LT(peak, 200.0);
    TPcmSource low(Tone(22050, 2, 0.01, 20000), 16, 2, 22050);
    const auto raised = Samples(Resample(low, 44100).Out);
    double lowPeak = 0;
    for (std::size_t i = 4000; i < raised.size(); ++i) lowPeak = std::max(lowPeak, std::abs(double(raised[i])));
    EXPECT_NEAR(lowPeak, 20000, 1500);
}

TEST(FastResampler, RequestSizesDoNotChangeTheOutput) {
    const Bytes data = Tone(30000, 2, 0.003, 15000);
    TPcmSource whole(data, 16, 2, 44100);
    const Bytes expected = Resample(whole, 32000).Out;
    for (std::uint32_t request : {4U, 28U, 4099U}) {
        TPcmSource source(data, 16, 2, 44100, 1001);
        EXPECT_EQ(Resample(source, 32000, request).Out, expected) << request;
    }
}

TEST(FastResampler, Refusals) {
    TFastResampler resampler;
    for (const auto& query : std::initializer_list<std::function<void()>>{
             [&] { resampler.GetSampleRate(); }, [&] { resampler.GetChannels(); }, [&] { resampler.Open(); }}) {
        try {
            query();
            ADD_FAILURE() << "no input accepted";
        } catch (const EAuException& error) {
            EXPECT_STREQ(error.what(), "Input is not assigned");
        }
    }
    TPcmSource nine(Bytes(180), 16, 9, 44100);
    resampler.SetInput(&nine);
    resampler.SetOutSampleRate(22050);
    EXPECT_THROW(resampler.Open(), EAuException);
    EXPECT_FALSE(nine.Busy());
    TPcmSource slow(Bytes(180), 16, 1, 44100);
    resampler.SetInput(&slow);
    resampler.SetOutSampleRate(3);
    EXPECT_THROW(resampler.Open(), EAuException);
}

TEST(FastResampler, WidthItCannotConvertGivesSilence) {
    TPcmSource forty(Bytes(44100 * 5 / 5, 0x55), 40, 1, 44100);
    const Bytes out = Resample(forty, 22050).Out;
    ASSERT_FALSE(out.empty());
    EXPECT_EQ(out, Bytes(out.size(), 0));
}

}  // namespace
}  // namespace quorvel::test
