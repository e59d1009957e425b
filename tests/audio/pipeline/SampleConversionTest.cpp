#include "audio/pipeline/FastCopy.h"
#include "audio/pipeline/Guid.h"
#include "audio/pipeline/SampleConversion.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

namespace quorvel {
namespace {

constexpr float NaN = std::numeric_limits<float>::quiet_NaN();

template <typename T>
std::vector<T> Unpack(const std::vector<std::uint8_t>& Bytes) {
    std::vector<T> values(Bytes.size() / sizeof(T));
    std::memcpy(values.data(), Bytes.data(), values.size() * sizeof(T));
    return values;
}

std::int32_t S24At(const std::vector<std::uint8_t>& Bytes, std::size_t Index) {
    const std::uint32_t raw = Bytes[3 * Index] | (Bytes[3 * Index + 1] << 8) | (Bytes[3 * Index + 2] << 16);
    return static_cast<std::int32_t>(raw << 8) >> 8;
}

// Random floats over the whole range the procedures meet, ties included:
// plenty of samples so that vector bodies and scalar tails both run.
std::vector<float> AwkwardFloats(std::size_t Count) {
    std::mt19937 random(1234);
    std::uniform_real_distribution<float> unit(-1.2f, 1.2f);
    std::vector<float> values(Count);
    for (std::size_t i = 0; i < Count; ++i) {
        switch (i % 5) {
            case 0:
                values[i] = unit(random);
                break;
            case 1:
                values[i] = static_cast<float>((static_cast<int>(random() % 65535) - 32767) + 0.5) / 32767.0f;
                break;
            case 2:
                values[i] = std::ldexp(unit(random), -static_cast<int>(random() % 140));
                break;
            case 3:
                values[i] = static_cast<float>(static_cast<int>(random() % 256) - 128) / 128.0f;
                break;
            default:
                values[i] = unit(random) * 1e-3f;
                break;
        }
    }
    return values;
}

TEST(ToFloat, UnsignedAndSignedIntegersScaleToTheUnitRange) {
    const std::uint8_t u8[] = {0, 128, 255, 1};
    float out[4];
    U8ToFloat(u8, out, 4);
    EXPECT_EQ(out[0], -1.0f);
    EXPECT_EQ(out[1], 0.0f);
    EXPECT_EQ(out[2], 0.9921875f);
    EXPECT_EQ(out[3], -0.9921875f);

    const std::int16_t s16[] = {-32768, 32767, 16384, -1};
    S16ToFloat(s16, out, 4);
    EXPECT_EQ(out[0], -1.0f);
    EXPECT_EQ(out[1], 32767.0f / 32768.0f);
    EXPECT_EQ(out[2], 0.5f);
    EXPECT_EQ(out[3], -1.0f / 32768.0f);

    const std::uint8_t s24[] = {0x80, 0x00, 0x00, 0x00, 0x00, 0x80, 0xFF, 0xFF, 0x7F, 0xFF, 0xFF, 0xFF};
    S24ToFloat(s24, out, 4);
    EXPECT_EQ(out[0], 128.0f / 8388608.0f) << "the low byte is unsigned";
    EXPECT_EQ(out[1], -1.0f);
    EXPECT_EQ(out[2], 8388607.0f / 8388608.0f);
    EXPECT_EQ(out[3], -1.0f / 8388608.0f);

    const std::int32_t s32[] = {INT32_MIN, INT32_MAX, 1 << 30, -3};
    S32ToFloat(s32, out, 4);
    EXPECT_EQ(out[0], -1.0f);
    EXPECT_EQ(out[1], 1.0f) << "rounded to the nearest single";
    EXPECT_EQ(out[2], 0.5f);
    EXPECT_EQ(out[3], -3.0f / 2147483648.0f);
}

TEST(ToFloat, UnalignedSourcesAndLongBuffersConvertEverySample) {
    std::vector<std::uint8_t> bytes(3 * 1001 + 1);
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 37);
    std::vector<float> out(1001);
    S24ToFloat(bytes.data() + 1, out.data(), out.size());
    for (std::size_t i = 0; i < out.size(); ++i) {
        const std::vector<std::uint8_t> one(bytes.begin() + 1 + 3 * i, bytes.begin() + 4 + 3 * i);
        ASSERT_EQ(out[i], static_cast<float>(S24At(one, 0)) / 8388608.0f) << i;
    }
    S16ToFloat(bytes.data() + 1, out.data(), out.size());
    std::int16_t last;
    std::memcpy(&last, bytes.data() + 1 + 2 * 1000, 2);
    EXPECT_EQ(out[1000], last / 32768.0f);
}

TEST(FromFloat, U8FloorsAndDoesNotClampTheSource) {
    float in[] = {0.0f, 0.999f, -0.999f, 1.0f, 7.0f, -1.0f, NaN, -1e-30f, 0.5f};
    std::uint8_t out[9];
    FloatToU8(in, out, 9);
    const std::uint8_t expected[] = {128, 255, 0, 255, 255, 0, 0, 127, 192};
    for (int i = 0; i < 9; ++i) EXPECT_EQ(out[i], expected[i]) << in[i];
    EXPECT_EQ(in[4], 7.0f);
}

TEST(FromFloat, S16RoundsHalvesToEvenAndClampsTheSourceInPlace) {
    // 0.5 x 32767 = 16383.5, a tie that goes to the even 16384.
    float in[] = {1.5f, -3.0f, NaN, 16384.0f / 32768.0f, 32767.0f / 32768.0f, -1.0f, -0.5f, 1e-6f};
    std::int16_t out[8];
    FloatToS16(in, out, 8);
    const std::int16_t expected[] = {32767, -32767, -32767, 16384, 32766, -32767, -16384, 0};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(out[i], expected[i]) << i;
    EXPECT_EQ(in[0], 1.0f);
    EXPECT_EQ(in[1], -1.0f);
    EXPECT_EQ(in[2], -1.0f);
}

TEST(FromFloat, S24FloorsIntoThreeLittleEndianBytes) {
    float in[] = {0.5f, -1.0f, 2.0f, -1e-20f};
    std::vector<std::uint8_t> out(12);
    FloatToS24(in, out.data(), 4);
    EXPECT_EQ(std::vector<std::uint8_t>(out.begin(), out.begin() + 6),
              (std::vector<std::uint8_t>{0xFF, 0xFF, 0x3F, 0x01, 0x00, 0x80}));
    EXPECT_EQ(S24At(out, 2), 8388607);
    EXPECT_EQ(S24At(out, 3), -1);
    EXPECT_EQ(in[2], 1.0f);
}

TEST(FromFloat, S32RoundsTheExactProductHalvesToEven) {
    float in[] = {1.0f, -1.0f, 0.5f, NaN, 1e-10f, 4.0f};
    std::int32_t out[6];
    FloatToS32(in, out, 6);
    EXPECT_EQ(out[0], 2147483647);
    EXPECT_EQ(out[1], -2147483647);
    EXPECT_EQ(out[2], 1073741824) << "1073741823.5 is a tie and goes to even";
    EXPECT_EQ(out[3], -2147483647);
    EXPECT_EQ(out[4], 0);
    EXPECT_EQ(out[5], 2147483647);
}

TEST(FromFloat, LongBuffersMatchTheDefinitionSampleBySample) {
    const std::vector<float> source = AwkwardFloats(4099);
    std::vector<float> work = source;
    std::vector<std::int16_t> s16(source.size());
    FloatToS16(work.data(), s16.data(), work.size());
    work = source;
    std::vector<std::uint8_t> s24(3 * source.size());
    FloatToS24(work.data(), s24.data(), work.size());
    std::vector<std::uint8_t> u8(source.size());
    FloatToU8(source.data(), u8.data(), source.size());
    work = source;
    std::vector<std::int32_t> s32(source.size());
    FloatToS32(work.data(), s32.data(), work.size());
    std::vector<std::uint8_t> singles(4 * source.size());
    std::memcpy(singles.data(), source.data(), singles.size());
    SinglesToS32InPlace(singles.data(), singles.size());
    const auto floored = Unpack<std::int32_t>(singles);
    std::vector<std::uint8_t> doubles(8 * source.size());
    for (std::size_t i = 0; i < source.size(); ++i) {
        const double wide = static_cast<double>(source[i]) * (1.0 + 1e-9);
        std::memcpy(doubles.data() + 8 * i, &wide, 8);
    }
    DoublesToS32InPlace(doubles.data(), doubles.size());
    const auto flooredDoubles = Unpack<std::int32_t>(doubles);
    for (std::size_t i = 0; i < source.size(); ++i) {
        const long double v = std::isnan(source[i]) ? -1.0L : std::clamp<long double>(source[i], -1.0L, 1.0L);
        ASSERT_EQ(s16[i], static_cast<std::int16_t>(std::nearbyint(v * 32767.0L))) << source[i];
        ASSERT_EQ(S24At(s24, i), static_cast<std::int32_t>(std::floor(v * 8388607.0L))) << source[i];
        // (v + 1) x 128 taken exactly: v x 128 is exact, the + 128 too.
        const int expectedU8 = v >= 1.0L ? 255 : static_cast<int>(std::floor(v * 128.0L)) + 128;
        ASSERT_EQ(u8[i], expectedU8) << source[i];
        // Extended precision holds v x 2147483647 exactly for a single.
        ASSERT_EQ(s32[i], static_cast<std::int32_t>(std::nearbyint(v * 2147483647.0L))) << source[i];
        const long double raw = source[i];
        const std::int32_t expectedFloor = std::isnan(source[i]) || raw <= -1.0L ? INT32_MIN
                                           : raw >= 1.0L                         ? INT32_MAX
                                                         : static_cast<std::int32_t>(std::floor(raw * 2147483647.0L));
        ASSERT_EQ(floored[i], expectedFloor) << source[i];
        const long double wide = static_cast<double>(source[i]) * (1.0 + 1e-9);
        const std::int32_t expectedWide = std::isnan(source[i]) || wide <= -1.0L ? INT32_MIN
                                          : wide >= 1.0L                         ? INT32_MAX
                                                         : static_cast<std::int32_t>(std::floor(wide * 2147483647.0L));
        ASSERT_EQ(flooredDoubles[i], expectedWide) << source[i];
    }
}

TEST(FloatFileData, SinglesAndDoublesBecomeFlooredIntegersInPlace) {
    const float singles[] = {0.5f, 1.0f, -1.0f, NaN, 0.0f, -0.5f, 3.0f};
    std::vector<std::uint8_t> buffer(sizeof singles + 2);
    std::memcpy(buffer.data(), singles, sizeof singles);
    SinglesToS32InPlace(buffer.data(), buffer.size());
    const auto ints = Unpack<std::int32_t>(buffer);
    const std::int32_t expected[] = {1073741823, INT32_MAX, INT32_MIN, INT32_MIN, 0, -1073741824, INT32_MAX};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(ints[i], expected[i]) << singles[i];

    const double doubles[] = {0.5, -1.0, 0.25, -2.0};
    std::vector<std::uint8_t> wide(sizeof doubles);
    std::memcpy(wide.data(), doubles, sizeof doubles);
    DoublesToS32InPlace(wide.data(), wide.size());
    const auto packed = Unpack<std::int32_t>(wide);
    EXPECT_EQ(packed[0], 1073741823);
    EXPECT_EQ(packed[1], INT32_MIN);
    EXPECT_EQ(packed[2], 536870911);
    EXPECT_EQ(packed[3], INT32_MIN);
}

TEST(Channels, StereoToMonoAveragesEachFrameInPlace) {
    std::vector<float> frames = {0.5f, -0.5f, 1000.0f / 32768.0f, 3000.0f / 32768.0f, 1.0f, 1.0f, 3.0e38f, 3.0e38f};
    StereoToMono(frames.data(), 4);
    EXPECT_EQ(frames[0], 0.0f);
    EXPECT_EQ(frames[1], 2000.0f / 32768.0f);
    EXPECT_EQ(frames[2], 1.0f);
    EXPECT_EQ(frames[3], 3.0e38f) << "the sum does not overflow";

    std::vector<float> many(2 * 1003);
    for (std::size_t i = 0; i < many.size(); ++i) many[i] = static_cast<float>(i);
    StereoToMono(many.data(), 1003);
    for (std::size_t i = 0; i < 1003; ++i) ASSERT_EQ(many[i], static_cast<float>(2 * i) + 0.5f) << i;
}

TEST(Channels, MonoToStereoDuplicatesEverySampleInPlace) {
    for (std::size_t frames : {0U, 1U, 15U, 16U, 17U, 1003U}) {
        std::vector<float> buffer(2 * frames + 1, -9.0f);
        for (std::size_t i = 0; i < frames; ++i) buffer[i] = static_cast<float>(i);
        MonoToStereo(buffer.data(), frames);
        for (std::size_t i = 0; i < frames; ++i) {
            ASSERT_EQ(buffer[2 * i], static_cast<float>(i)) << frames;
            ASSERT_EQ(buffer[2 * i + 1], static_cast<float>(i)) << frames;
        }
        EXPECT_EQ(buffer[2 * frames], -9.0f) << "nothing written past 2 x Frames";
    }
}

TEST(Dot, AccumulatesInExtendedPrecisionBeforeRounding) {
    // In single precision 1 + 2^-24 is lost at each step; in extended the
    // small terms add up before the one final rounding.
    const float x[] = {1.0f, 1.0f, 1.0f, 1.0f};
    const float c[] = {std::ldexp(1.0f, -24), std::ldexp(1.0f, -24), std::ldexp(1.0f, -24), std::ldexp(1.0f, -24)};
    float acc = 1.0f;
    DotAccumulate(x, c, acc, 4);
    EXPECT_EQ(acc, 1.0f + std::ldexp(1.0f, -22));

    const float a[] = {0.5f, -2.0f, 3.0f};
    const float b[] = {4.0f, 0.25f, 1.0f};
    float sum = 10.0f;
    DotAccumulate(a, b, sum, 3);
    EXPECT_EQ(sum, 14.5f);
}

TEST(Guid, EqualOnlyWhenEveryFieldMatches) {
    const TGuid pcm{0x00000001, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
    TGuid copy = pcm;
    EXPECT_TRUE(SameGuid(pcm, copy));
    copy.D1 = 3;
    EXPECT_FALSE(SameGuid(pcm, copy));
    copy = pcm;
    copy.D3 = 0x0011;
    EXPECT_FALSE(SameGuid(pcm, copy));
    copy = pcm;
    copy.D4[7] = 0x72;
    EXPECT_FALSE(SameGuid(pcm, copy));
}

TEST(Copy, FastCopyMatchesMemcpyForEveryAlignmentAndLength) {
    std::vector<std::uint8_t> source(600);
    for (std::size_t i = 0; i < source.size(); ++i) source[i] = static_cast<std::uint8_t>(i * 13 + 5);
    for (auto copy : {&FastCopy, &BlockCopy16}) {
        for (std::size_t from = 0; from < 16; ++from) {
            for (std::size_t to = 0; to < 16; to += 3) {
                for (std::size_t count : {0U, 1U, 15U, 16U, 17U, 63U, 64U, 100U, 517U}) {
                    std::vector<std::uint8_t> dest(600, 0xEE);
                    copy(dest.data() + to, source.data() + from, count);
                    ASSERT_EQ(std::memcmp(dest.data() + to, source.data() + from, count), 0)
                        << from << " " << to << " " << count;
                    ASSERT_EQ(dest[to + count], 0xEE) << "wrote past the end";
                    if (to > 0) {
                        ASSERT_EQ(dest[to - 1], 0xEE) << "wrote before the start";
                    }
                }
            }
        }
    }
}

}  // namespace
}  // namespace quorvel
