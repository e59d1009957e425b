#include "WavBuilder.h"
#include "WavTestSupport.h"

#include "audio/formats/ImaAdpcm.h"
#include "audio/pipeline/AuException.h"
#include "audio/pipeline/MemoryStream.h"

#include <gtest/gtest.h>

#include <cstring>

namespace quorvel::test {
namespace {

// A reader over bytes in memory.
struct TMemoryWave {
    explicit TMemoryWave(Bytes File) : Stream(std::move(File)) { Reader.SetStream(&Stream); }
    Bytes ReadAll(std::uint32_t Request = 1 << 20) {
        Reader.Open();
        auto bytes = test::ReadAll(Reader, Request);
        Reader.Close();
        return bytes;
    }
    TAuMemoryStream Stream;
    TWaveIn Reader;
};

class WaveInFiles : public WavFiles {};

// Every PCM layout written and read back gives the same bytes, whatever the
// caller's request size.
TEST_F(WaveInFiles, PcmRoundTripsForEveryWidthAndRequest) {
    for (int bits : {8, 16, 24, 32}) {
        for (int channels : {1, 2}) {
            const std::uint32_t frame = static_cast<std::uint32_t>(bits / 8 * channels);
            const auto data = PatternBytes(frame * 20011);
            TPcmSource source(data, bits, channels, 44100);
            TWaveOut writer;
            writer.SetFileName(Path("a.wav").string());
            writer.SetInput(&source);
            ASSERT_EQ(RunToEnd(writer), "");
            for (std::uint32_t request : {1U << 24, frame, 7 * frame, 4099U})
                ASSERT_EQ(ReadWave(Path("a.wav"), request), data) << bits << " bits, " << channels << ", " << request;
        }
    }
}

// IMA ADPCM read back gives what the codec makes of the signal, block by
// block, up to the sample count; the last block's padding is not delivered.
TEST_F(WaveInFiles, ImaRoundTripGivesTheCodecsSamples) {
    for (int channels : {1, 2}) {
        const std::size_t frames = 7000;
        const auto signal = TestSignal(frames, channels);
        TPcmSource source(Le16(signal), 16, channels, 16000);
        TWaveOut writer;
        writer.SetFileName(Path("a.wav").string());
        writer.SetWavType(wtDVIADPCM);
        writer.SetBlockSize(1024);
        writer.SetInput(&source);
        ASSERT_EQ(RunToEnd(writer), "");
        const std::uint32_t perBlock = ImaFramesPerBlock(1024, static_cast<std::uint32_t>(channels));
        std::vector<std::int16_t> expected;
        TImaChannelState states[2];
        std::vector<std::uint8_t> block(1024);
        for (std::size_t start = 0; start < frames; start += perBlock) {
            std::vector<std::int16_t> in(perBlock * static_cast<std::size_t>(channels), 0);
            const std::size_t count = std::min<std::size_t>(in.size(), signal.size() - start * channels);
            std::copy_n(signal.begin() + static_cast<std::ptrdiff_t>(start * channels), count, in.begin());
            ImaEncodeBlock(in.data(), block.data(), 1024, static_cast<std::uint32_t>(channels), states);
            std::vector<std::int16_t> out(in.size());
            ImaDecodeBlock(block.data(), 1024, static_cast<std::uint32_t>(channels), out.data());
            expected.insert(expected.end(), out.begin(), out.end());
        }
        expected.resize(signal.size());
        for (std::uint32_t request : {1U << 24, 2U * channels, 14U * channels, 4099U})
            ASSERT_EQ(FromLe16(ReadWave(Path("a.wav"), request)), expected) << channels << ", " << request;
    }
}

TEST(WaveIn, ChunksAroundTheFormatAndTagsInAnyCaseAreWalked) {
    const Bytes data = PatternBytes(400);
    const Bytes list = Chunk("LIST", PatternBytes(33));
    for (const Bytes& file : {Wave({list, Chunk("fmt ", Format(1, 2, 8000, 4, 16)), list, Chunk("data", data), list}),
                              Wave({Chunk("fmt ", Format(1, 2, 8000, 4, 16)), Chunk("data", data)}, "riff", "wave"),
                              Wave({Chunk("FMT ", Format(1, 2, 8000, 4, 16)), Chunk("DATA", data)}, "RiFf", "wAvE"),
                              Wave({Chunk("fmt ", Format(1, 2, 8000, 4, 16)), Chunk("data", data)})}) {
        TMemoryWave wave(file);
        ASSERT_TRUE(wave.Reader.IsValid());
        EXPECT_EQ(wave.Reader.Size(), 400);
        EXPECT_EQ(wave.ReadAll(), data);
    }
}

TEST(WaveIn, FloatIsDeliveredAs32BitIntegers) {
    Bytes singles, doubles;
    for (float v : {0.5f, -1.0f, 2.0f, 0.0f}) {
        std::uint8_t b[4];
        std::memcpy(b, &v, 4);
        singles.insert(singles.end(), b, b + 4);
        const double d = v;
        std::uint8_t e[8];
        std::memcpy(e, &d, 8);
        doubles.insert(doubles.end(), e, e + 8);
    }
    const Bytes expected = [] {
        Bytes bytes;
        for (std::uint32_t v : {1073741823U, 0x80000000U, 0x7FFFFFFFU, 0U}) Put(bytes, v, 4);
        return bytes;
    }();
    for (const Bytes& file :
         {Wave({Chunk("fmt ", Format(3, 1, 8000, 4, 32)), Chunk("data", singles)}),
          Wave({Chunk("fmt ", Format(3, 1, 8000, 8, 64)), Chunk("data", doubles)}),
          Wave({Chunk("fmt ", Format(0xFFFE, 1, 8000, 8, 64, ExtensibleExtra(64, 3))), Chunk("data", doubles)})}) {
        TMemoryWave wave(file);
        ASSERT_TRUE(wave.Reader.IsValid());
        EXPECT_EQ(wave.Reader.GetBitsPerSample(), 32);
        EXPECT_EQ(wave.Reader.Size(), 16);
        EXPECT_EQ(wave.ReadAll(), expected);
    }
}

TEST(WaveIn, ExtensibleSubFormatDecidesTheKind) {
    const Bytes data = PatternBytes(60);
    TMemoryWave pcm(Wave({Chunk("fmt ", Format(0xFFFE, 2, 8000, 6, 24, ExtensibleExtra(24, 1))), Chunk("data", data)}));
    ASSERT_TRUE(pcm.Reader.IsValid());
    EXPECT_EQ(pcm.Reader.WavType(), wtExtPCM);
    EXPECT_EQ(pcm.ReadAll(), data);
    TMemoryWave other(
        Wave({Chunk("fmt ", Format(0xFFFE, 2, 8000, 6, 24, ExtensibleExtra(24, 2))), Chunk("data", data)}));
    EXPECT_FALSE(other.Reader.IsValid());
}

TEST(WaveIn, MsAdpcmBlockDeliversItsSamples) {
    Bytes data;
    for (int block = 0; block < 3; ++block) {
        Bytes b = {0, 16, 0, 0, 0, 0, 0};
        b.resize(256, 0x11);
        data.insert(data.end(), b.begin(), b.end());
    }
    TMemoryWave wave(Wave(
        {Chunk("fmt ", Format(2, 1, 8000, 256, 4, MsExtra(500, 7))), Chunk("fact", Le32(1400)), Chunk("data", data)}));
    ASSERT_TRUE(wave.Reader.IsValid());
    EXPECT_EQ(wave.Reader.Size(), 2800);
    wave.Reader.Open();
    const std::uint8_t* buffer = nullptr;
    std::uint32_t bytes = 1 << 20;
    wave.Reader.Read(buffer, bytes);
    EXPECT_EQ(bytes, 1000U);
    EXPECT_EQ(ReadAll(wave.Reader, 1 << 20).size(), 1800U);
    wave.Reader.Close();
}

TEST_F(WaveInFiles, SeekingLandsOnTheFrameOrItsBlock) {
    const auto signal = TestSignal(3000, 2);
    for (TWavType type : {wtPCM, wtDVIADPCM}) {
        TPcmSource source(Le16(signal), 16, 2, 8000);
        TWaveOut writer;
        writer.SetFileName(Path("a.wav").string());
        writer.SetWavType(type);
        writer.SetBlockSize(256);
        writer.SetInput(&source);
        ASSERT_EQ(RunToEnd(writer), "");
        const auto whole = FromLe16(ReadWave(Path("a.wav")));
        TWaveIn reader;
        reader.SetFileName(Path("a.wav").string());
        reader.Open();
        ASSERT_TRUE(reader.SeekFrame(1000));
        const auto rest = FromLe16(ReadAll(reader, 1 << 20));
        reader.Close();
        const std::size_t landed = type == wtPCM ? 1000 : (1000 / 249) * 249;
        ASSERT_EQ(rest.size(), whole.size() - 2 * landed);
        EXPECT_TRUE(std::equal(rest.begin(), rest.end(), whole.begin() + 2 * static_cast<std::ptrdiff_t>(landed)));
    }
}

// Sizes, counts and indexes of a damaged file are checked before use.
TEST(WaveIn, DamagedHeadersAreNotValid) {
    const Bytes block(256, 0);
    const Bytes fact = Chunk("fact", Le32(505));
    struct Case {
        const char* What;
        Bytes File;
    };
    const std::vector<Case> cases = {
        {"no RIFF", Bytes(100, 'x')},
        {"no data chunk", Wave({Chunk("fmt ", Format(1, 1, 8000, 2, 16))})},
        {"a chunk running past the end of the file",
         Wave({Chunk("fmt ", Format(1, 1, 8000, 2, 16)), Bytes{'J', 'U', 'N', 'K', 0xFF, 0xFF, 0, 0}, Bytes(8)})},
        {"format tag not known", Wave({Chunk("fmt ", Format(0x50, 1, 8000, 2, 16)), Chunk("data", block)})},
        {"fmt shorter than its fields", Wave({Chunk("fmt ", Bytes(14, 1)), Chunk("data", block)})},
        {"no channels", Wave({Chunk("fmt ", Format(1, 0, 8000, 2, 16)), Chunk("data", block)})},
        {"extensible without its sub-format",
         Wave({Chunk("fmt ", Format(0xFFFE, 1, 8000, 2, 16, Bytes(10))), Chunk("data", block)})},
        {"IMA without fact", Wave({Chunk("fmt ", Format(0x11, 1, 8000, 256, 4, ImaExtra(505))), Chunk("data", block)})},
        {"IMA fmt without samples per block",
         Wave({Chunk("fmt ", Format(0x11, 1, 8000, 256, 4)), fact, Chunk("data", block)})},
        {"IMA bits not 4",
         Wave({Chunk("fmt ", Format(0x11, 1, 8000, 256, 3, ImaExtra(505))), fact, Chunk("data", block)})},
        {"IMA block alignment 0",
         Wave({Chunk("fmt ", Format(0x11, 1, 8000, 0, 4, ImaExtra(505))), fact, Chunk("data", block)})},
        {"IMA stereo block too small",
         Wave({Chunk("fmt ", Format(0x11, 2, 8000, 4, 4, ImaExtra(1))), fact, Chunk("data", block)})},
        {"IMA three channels",
         Wave({Chunk("fmt ", Format(0x11, 3, 8000, 256, 4, ImaExtra(505))), fact, Chunk("data", block)})},
        {"IMA samples per block past the block",
         Wave({Chunk("fmt ", Format(0x11, 1, 8000, 256, 4, ImaExtra(506))), fact, Chunk("data", block)})},
        {"fact shorter than its value", Wave({Chunk("fmt ", Format(0x11, 1, 8000, 256, 4, ImaExtra(505))),
                                              Chunk("fact", Bytes(2)), Chunk("data", block)})},
        {"MS more than 32 pairs",
         Wave({Chunk("fmt ", Format(2, 1, 8000, 256, 4, MsExtra(500, 33))), fact, Chunk("data", block)})},
        {"MS pairs past the fmt chunk",
         Wave({Chunk("fmt ", Format(2, 1, 8000, 256, 4, Bytes{32, 0, 0xF4, 1, 7, 0})), fact, Chunk("data", block)})},
        {"MS samples per block past the block",
         Wave({Chunk("fmt ", Format(2, 1, 8000, 256, 4, MsExtra(502, 7))), fact, Chunk("data", block)})},
        {"MS block alignment 0",
         Wave({Chunk("fmt ", Format(2, 1, 8000, 0, 4, MsExtra(500, 7))), fact, Chunk("data", block)})},
        {"MPEG data with no frame in it",
         Wave({Chunk("fmt ", Format(0x55, 1, 8000, 1, 0, ImaExtra(1152))), fact, Chunk("data", block)})},
    };
    for (const Case& c : cases) {
        TMemoryWave wave(c.File);
        EXPECT_FALSE(wave.Reader.IsValid()) << c.What;
        EXPECT_THROW(wave.Reader.Open(), EAuException) << c.What;
        wave.Reader.Close();
    }
}

TEST(WaveIn, DataSizePastTheFileCountsWhatIsThere) {
    Bytes file = Wave({Chunk("fmt ", Format(1, 1, 8000, 2, 16)), Chunk("data", PatternBytes(100))});
    file[40] = 0xFF;
    file[41] = 0xFF;
    TMemoryWave wave(file);
    ASSERT_TRUE(wave.Reader.IsValid());
    EXPECT_EQ(wave.Reader.Size(), 100);
    EXPECT_EQ(wave.ReadAll().size(), 100U);
}

TEST(WaveIn, ChunksBeforeTheDataAreWalkedToTheEndOfTheFile) {
    const Bytes samples = PatternBytes(100);
    Bytes oddWithoutPad = Chunk("LIST", Bytes(13, 'a'));
    Bytes oddWithPad = oddWithoutPad;
    oddWithPad.push_back(0);
    const struct {
        const char* What;
        std::vector<Bytes> Between;
    } cases[] = {
        {"an odd chunk and its pad byte", {oddWithPad}},
        {"an odd chunk written without the pad byte", {oddWithoutPad}},
        {"a 10 KB chunk", {Chunk("iXML", Bytes(10240, 'x'))}},
        {"9 KB of chunks, one odd and padded", {Chunk("bext", Bytes(602)), oddWithPad, Chunk("JUNK", Bytes(8400))}},
    };
    for (const auto& c : cases) {
        std::vector<Bytes> chunks = {Chunk("fmt ", Format(1, 1, 8000, 2, 16))};
        chunks.insert(chunks.end(), c.Between.begin(), c.Between.end());
        chunks.push_back(Chunk("data", samples));
        TMemoryWave wave(Wave(chunks));
        ASSERT_TRUE(wave.Reader.IsValid()) << c.What;
        EXPECT_EQ(wave.Reader.Size(), 100) << c.What;
        EXPECT_EQ(wave.ReadAll(), samples) << c.What;
    }
}

TEST(WaveIn, DamagedBlocksDecodeAsSilence) {
    Bytes ima(2 * 256, 0x35);
    ima[2] = 10;
    ima[256 + 2] = 89;
    TMemoryWave imaWave(Wave(
        {Chunk("fmt ", Format(0x11, 1, 8000, 256, 4, ImaExtra(505))), Chunk("fact", Le32(1010)), Chunk("data", ima)}));
    Bytes ms(2 * 256, 0x35);
    ms[0] = 1;
    ms[256] = 7;
    TMemoryWave msWave(Wave(
        {Chunk("fmt ", Format(2, 1, 8000, 256, 4, MsExtra(500, 7))), Chunk("fact", Le32(1000)), Chunk("data", ms)}));
    for (TMemoryWave* wave : {&imaWave, &msWave}) {
        ASSERT_TRUE(wave->Reader.IsValid());
        const auto samples = FromLe16(wave->ReadAll());
        const std::size_t half = samples.size() / 2;
        ASSERT_GT(half, 0U);
        EXPECT_TRUE(std::any_of(samples.begin(), samples.begin() + static_cast<std::ptrdiff_t>(half),
                                [](std::int16_t s) { return s != 0; }));
        EXPECT_TRUE(std::all_of(samples.begin() + static_cast<std::ptrdiff_t>(half), samples.end(),
                                [](std::int16_t s) { return s == 0; }));
    }
}

TEST(WaveIn, ReadingAClosedReaderIsRefused) {
    TMemoryWave wave(Wave({Chunk("fmt ", Format(1, 1, 8000, 2, 16)), Chunk("data", PatternBytes(10))}));
    const std::uint8_t* buffer = nullptr;
    std::uint32_t bytes = 10;
    EXPECT_THROW(wave.Reader.Read(buffer, bytes), EAuException);
}

}  // namespace
}  // namespace quorvel::test
