#include "PcmSource.h"

#include "audio/pipeline/AuException.h"
#include "audio/pipeline/AudioConverter.h"

#include <gtest/gtest.h>

#include <cstring>

namespace quorvel::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes S16(std::initializer_list<int> Samples) {
    Bytes bytes;
    for (int s : Samples) {
        bytes.push_back(static_cast<std::uint8_t>(s));
        bytes.push_back(static_cast<std::uint8_t>(static_cast<unsigned>(s) >> 8));
    }
    return bytes;
}

Bytes Convert(TPcmSource& Source, int OutBits, int OutChannels, std::uint32_t Request = 1 << 20) {
    TAudioConverter converter;
    converter.SetInput(&Source);
    converter.SetOutBitsPerSample(OutBits);
    converter.SetOutChannels(OutChannels);
    converter.Open();
    Bytes out;
    for (;;) {
        const std::uint8_t* buffer = nullptr;
        std::uint32_t count = Request;
        converter.Read(buffer, count);
        if (count == 0) break;
        out.insert(out.end(), buffer, buffer + count);
    }
    converter.Close();
    return out;
}

TEST(AudioConverter, StereoToMonoTakesTheMeanThroughTheFloatStage) {
    TPcmSource source(S16({1000, 3000, 32767, 32767, -32768, -32768}), 16, 2, 8000);
    EXPECT_EQ(Convert(source, 16, 1), S16({2000, 32766, -32767}));
}

TEST(AudioConverter, EqualFormatsStillPassTheFloatStage) {
    TPcmSource source(S16({32767, -32768, 16384, 0}), 16, 1, 8000);
    EXPECT_EQ(Convert(source, 16, 1), S16({32766, -32767, 16384, 0}));
}

TEST(AudioConverter, NoPropertySetPassesTheBytesAndSize) {
    const Bytes data = S16({1, 2, 3, 4, 5, 6});
    TPcmSource source(data, 16, 2, 8000);
    TAudioConverter converter;
    converter.SetInput(&source);
    converter.Open();
    EXPECT_EQ(converter.Size(), 12);
    converter.Close();
    EXPECT_EQ(Convert(source, 0, 0), data);
}

TEST(AudioConverter, SizeFollowsTheOutputFormat) {
    struct Case {
        int InBits, InChannels, OutBits, OutChannels;
        std::int64_t InSize, OutSize;
    };
    for (const Case& c :
         {Case{16, 2, 16, 1, 100000, 50000}, Case{16, 1, 24, 2, 1000, 3000}, Case{24, 2, 16, 1, 600, 200},
          Case{8, 1, 16, 0, 7, 14}, Case{16, 2, 16, 1, -1, -1}, Case{16, 2, 8, 1, 10, 2}}) {
        TPcmSource source(Bytes(16), c.InBits, c.InChannels, 8000);
        source.SetReportedSize(c.InSize);
        TAudioConverter converter;
        converter.SetInput(&source);
        converter.SetOutBitsPerSample(c.OutBits);
        converter.SetOutChannels(c.OutChannels);
        converter.Open();
        EXPECT_EQ(converter.Size(), c.OutSize) << c.InBits << "/" << c.InChannels << " to " << c.OutBits;
        converter.Close();
    }
}

TEST(AudioConverter, MonoToStereoFillsBothChannelsWhateverTheMode) {
    for (TMSConverterMode mode : {msmMonoToBoth, msmMonoToLeft, msmMonoToRight}) {
        TPcmSource source(S16({16384, -16384}), 16, 1, 8000);
        TAudioConverter converter;
        converter.SetMode(mode);
        converter.SetInput(&source);
        converter.SetOutChannels(2);
        EXPECT_EQ(converter.GetChannels(), 2);
        EXPECT_EQ(Convert(source, 0, 2), S16({16384, 16384, -16384, -16384}));
    }
    TPcmSource six(Bytes(24), 16, 6, 8000);
    TAudioConverter converter;
    converter.SetInput(&six);
    converter.SetOutChannels(2);
    EXPECT_EQ(converter.GetChannels(), 6);
}

TEST(AudioConverter, WidthsConvertThroughFloats) {
    TPcmSource u8(Bytes{0, 128, 255}, 8, 1, 8000);
    EXPECT_EQ(Convert(u8, 16, 0), S16({-32767, 0, 32511}));
    TPcmSource s24(Bytes{0x00, 0x00, 0x40, 0x00, 0x00, 0x80}, 24, 1, 8000);
    EXPECT_EQ(Convert(s24, 16, 0), S16({16384, -32767}));
    TPcmSource s16(S16({16384, -32768}), 16, 1, 8000);
    EXPECT_EQ(Convert(s16, 32, 0), (Bytes{0x00, 0x00, 0x00, 0x40, 0x01, 0x00, 0x00, 0x80}));
}

// A request for less than a whole output frame, or an odd count, gives whole frames.
TEST(AudioConverter, RequestSizesDoNotChangeTheOutput) {
    Bytes data;
    for (int i = 0; i < 3000; ++i) {
        const Bytes frame = S16({i * 7 - 10000, 9000 - i * 5});
        data.insert(data.end(), frame.begin(), frame.end());
    }
    TPcmSource whole(data, 16, 2, 8000, 4096);
    const Bytes expected = Convert(whole, 24, 1);
    ASSERT_EQ(expected.size(), 9000U);
    for (std::uint32_t request : {3U, 7U * 3, 4099U}) {
        TPcmSource source(data, 16, 2, 8000, 1000);
        EXPECT_EQ(Convert(source, 24, 1, request), expected) << request;
    }
}

TEST(AudioConverter, WidthItCannotConvertGivesSilence) {
    TPcmSource twelve(Bytes{1, 2, 3, 4, 5, 6}, 12, 1, 8000);
    EXPECT_EQ(Convert(twelve, 16, 0), Bytes(8, 0));  // Size: 6 bytes x 16 / 12
    TPcmSource s16(S16({1000, 2000}), 16, 1, 8000);
    EXPECT_EQ(Convert(s16, 12, 0), Bytes(2, 0));
}

TEST(AudioConverter, OpenRefusals) {
    TAudioConverter converter;
    EXPECT_THROW(
        {
            try {
                converter.Open();
            } catch (const EAuException& error) {
                EXPECT_STREQ(error.what(), "Input is not assigned");
                throw;
            }
        },
        EAuException);
    TPcmSource noChannels(Bytes(4), 16, 0, 8000);
    converter.SetInput(&noChannels);
    converter.SetOutBitsPerSample(16);
    EXPECT_THROW(converter.Open(), EAuException);
    EXPECT_FALSE(noChannels.Busy());
}

}  // namespace
}  // namespace quorvel::test
