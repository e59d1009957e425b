#include "WavTestSupport.h"

#include "audio/formats/WaveConverter.h"
#include "audio/pipeline/MemoryStream.h"

#include <gtest/gtest.h>

#include <cstring>

namespace quorvel::test {
namespace {

bool Ffmpeg(const std::string& Arguments) { return Shell("ffmpeg -nostdin -y -v error " + Arguments); }

void Put32(std::vector<std::uint8_t>& Out, std::uint32_t Value) {
    for (int i = 0; i < 4; ++i) Out.push_back(static_cast<std::uint8_t>(Value >> (8 * i)));
}

void Chunk(std::vector<std::uint8_t>& Out, const char* Tag, const std::vector<std::uint8_t>& Body) {
    Out.insert(Out.end(), Tag, Tag + 4);
    Put32(Out, static_cast<std::uint32_t>(Body.size()));
    Out.insert(Out.end(), Body.begin(), Body.end());
}

// An A-law image: a LIST chunk first, then the format of the given body length.
std::vector<std::uint8_t> AlawImage(std::size_t FormatBytes, const std::vector<std::uint8_t>& Data) {
    std::vector<std::uint8_t> format(FormatBytes, 0);
    const std::uint8_t head[] = {6, 0, 1, 0, 0x40, 0x1F, 0, 0, 0x40, 0x1F, 0, 0, 1, 0, 8, 0};
    std::memcpy(format.data(), head, sizeof head);
    std::vector<std::uint8_t> image = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'};
    Chunk(image, "LIST", {'I', 'N', 'F', 'O'});
    Chunk(image, "fmt ", format);
    Chunk(image, "fact", {4, 0, 0, 0});
    Chunk(image, "data", Data);
    return image;
}

class WaveConverter : public WavFiles {};

TEST_F(WaveConverter, LoadsChunksAtAnyOffsetAndSavesAPcmImage) {
    TAuMemoryStream file(AlawImage(16, {0xD5, 0x55, 0x2A, 0xAA}));
    TWaveConverter converter;
    ASSERT_EQ(converter.LoadFromStream(file), 0);
    EXPECT_EQ(converter.CurrentFormat()[0], 6);
    EXPECT_EQ(converter.CurrentFormat()[16], 0);  // no extra-size field in a 16-byte body
    EXPECT_EQ(converter.Data(), (std::vector<std::uint8_t>{0xD5, 0x55, 0x2A, 0xAA}));
    converter.NewFormat()[0] = 1;
    converter.NewFormat()[2] = 1;
    converter.NewFormat()[4] = 0x40;
    converter.NewFormat()[5] = 0x1F;
    converter.NewFormat()[14] = 16;
    ASSERT_EQ(converter.Convert(), 0);
    // A-law 0xD5 and 0x55 are the two smallest steps either side of zero.
    ASSERT_EQ(converter.Data().size(), 8U);
    EXPECT_EQ(converter.Data()[0] | converter.Data()[1] << 8, 8);
    TAuMemoryStream saved;
    ASSERT_EQ(converter.SaveWavToStream(saved), 0);
    const auto& image = saved.Data();
    ASSERT_EQ(image.size(), 44U + 8);
    EXPECT_EQ(image[4] | image[5] << 8, 44 + 8 - 8);
    EXPECT_EQ(image[16], 16);
    EXPECT_EQ(image[20], 1);
}

TEST_F(WaveConverter, FormatLongerThanTheBufferIsRefused) {
    TAuMemoryStream file(AlawImage(200, {0xD5, 0xD5}));
    TWaveConverter converter;
    EXPECT_EQ(converter.LoadFromStream(file), TWaveConverter::FormatTooLong);
    EXPECT_TRUE(converter.Data().empty());
    WriteFile(Path("long.wav"), AlawImage(200, std::vector<std::uint8_t>(800, 0xD5)));
    TWaveIn input;
    input.SetFileName(Path("long.wav").string());
    EXPECT_FALSE(input.IsValid());
}

TEST_F(WaveConverter, TelephonyCodecsDecodeAsFfmpegDoes) {
    for (const char* codec : {"pcm_alaw", "pcm_mulaw", "gsm_ms", "adpcm_g726 -code_size 2", "adpcm_g726 -code_size 4",
                              "adpcm_g726 -code_size 5"}) {
        const auto file = Path("phone.wav");
        ASSERT_TRUE(Ffmpeg("-f lavfi -i sine=frequency=700:sample_rate=8000:duration=1.3 -c:a " + std::string(codec) +
                           " '" + file.string() + "'"))
            << codec;
        TWaveIn input;
        input.SetFileName(file.string());
        ASSERT_TRUE(input.IsValid()) << codec;
        EXPECT_EQ(input.WavType(), wtACM);
        EXPECT_EQ(input.GetBitsPerSample(), 16);
        EXPECT_EQ(input.GetSampleRate(), 8000);
        input.Open();
        const std::vector<std::uint8_t> data = ReadAll(input, 16384);
        input.Close();
        const std::vector<std::uint8_t> decoded = Le16(FfmpegDecode(file));
        ASSERT_GE(data.size(), decoded.size()) << codec;
        EXPECT_TRUE(std::equal(decoded.begin(), decoded.end(), data.begin())) << codec;
    }
}

}  // namespace
}  // namespace quorvel::test
