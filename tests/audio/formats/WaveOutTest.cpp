#include "WavTestSupport.h"

#include "../pipeline/TestSupport.h"
#include "audio/formats/ImaAdpcm.h"

#include <gtest/gtest.h>

#include <cstring>

namespace quorvel::test {
namespace {

std::uint32_t U32At(const std::vector<std::uint8_t>& Bytes, std::size_t Offset) {
    std::uint32_t value;
    std::memcpy(&value, Bytes.data() + Offset, 4);
    return value;
}

std::uint16_t U16At(const std::vector<std::uint8_t>& Bytes, std::size_t Offset) {
    std::uint16_t value;
    std::memcpy(&value, Bytes.data() + Offset, 2);
    return value;
}

class WaveOutFiles : public WavFiles {
protected:
    std::string Write(TPcmSource& Source, const std::string& Name, TWavType Type = wtPCM,
                      TFileOutputMode Mode = foRewrite) {
        FWriter = std::make_unique<TWaveOut>();
        FWriter->SetFileName(Path(Name).string());
        FWriter->SetWavType(Type);
        FWriter->SetFileMode(Mode);
        FWriter->SetInput(&Source);
        return RunToEnd(*FWriter);
    }
    std::unique_ptr<TWaveOut> FWriter;
};

TEST_F(WaveOutFiles, PcmHeaderIsByteExact) {
    const auto data = PatternBytes(16000);
    TPcmSource source(data, 16, 2, 8000);
    ASSERT_EQ(Write(source, "a.wav"), "");
    const auto file = ReadFile(Path("a.wav"));
    const std::uint8_t header[44] = {'R', 'I', 'F', 'F', 0xA4, 0x3E, 0,   0,   'W', 'A',  'V',  'E',  'f', 'm',  't',
                                     ' ', 16,  0,   0,   0,    1,    0,   2,   0,   0x40, 0x1F, 0,    0,   0x00, 0x7D,
                                     0,   0,   4,   0,   16,   0,    'd', 'a', 't', 'a',  0x80, 0x3E, 0,   0};
    ASSERT_EQ(file.size(), 16044U);
    EXPECT_EQ(std::memcmp(file.data(), header, 44), 0);
    EXPECT_TRUE(std::equal(data.begin(), data.end(), file.begin() + 44));
}

TEST_F(WaveOutFiles, WideOrManyChannelInputGetsTheExtensibleHeaderUnlessNonMsHeaders) {
    struct Case {
        int Bits, Channels;
        std::uint32_t Mask;
    };
    for (const Case& c : {Case{24, 2, 3}, Case{16, 6, 0x3F}, Case{32, 1, 1}, Case{16, 3, 0}}) {
        for (bool nonMs : {false, true}) {
            TPcmSource source(PatternBytes(std::size_t(c.Bits / 8 * c.Channels) * 100), c.Bits, c.Channels, 48000);
            TWaveOut writer;
            writer.SetFileName(Path("x.wav").string());
            writer.SetCreateNonMsHeaders(nonMs);
            writer.SetInput(&source);
            ASSERT_EQ(RunToEnd(writer), "");
            const auto file = ReadFile(Path("x.wav"));
            const std::size_t header = nonMs ? 44 : 68;
            ASSERT_EQ(file.size(), header + source.Size());
            EXPECT_EQ(U16At(file, 20), nonMs ? 1 : 0xFFFE);
            EXPECT_EQ(U32At(file, header - 4), source.Size());
            EXPECT_EQ(U32At(file, 4), file.size() - 8);
            if (!nonMs) {
                EXPECT_EQ(U32At(file, 16), 40U);
                EXPECT_EQ(U16At(file, 38), c.Bits);
                EXPECT_EQ(U32At(file, 40), c.Mask);
                EXPECT_EQ(U32At(file, 44), 1U);
                EXPECT_EQ(U32At(file, 56), 0x719B3800U);
            }
        }
    }
}

TEST_F(WaveOutFiles, ShortInputIsCompletedWithZerosUpToSize) {
    TPcmSource source(PatternBytes(1000), 16, 1, 8000);
    source.SetReportedSize(3000);
    ASSERT_EQ(Write(source, "a.wav"), "");
    const auto file = ReadFile(Path("a.wav"));
    ASSERT_EQ(file.size(), 3044U);
    EXPECT_EQ(U32At(file, 40), 3000U);
    EXPECT_TRUE(std::all_of(file.begin() + 1044, file.end(), [](std::uint8_t b) { return b == 0; }));
}

// Unknown (-1) and untold (0) lengths both have the sizes patched at the end.
TEST_F(WaveOutFiles, SizesArePatchedWhenTheLengthWasNotKnown) {
    for (std::int64_t reported : {-1, 0}) {
        TPcmSource source(PatternBytes(1002), 16, 1, 8000);
        source.SetReportedSize(reported);
        ASSERT_EQ(Write(source, "a.wav"), "");
        const auto file = ReadFile(Path("a.wav"));
        ASSERT_EQ(file.size(), 1046U);
        EXPECT_EQ(U32At(file, 40), 1002U);
        EXPECT_EQ(U32At(file, 4), 1038U);
    }
}

TEST_F(WaveOutFiles, CancelledRunHasItsSizesPatchedToWhatWasWritten) {
    TPcmSource source(PatternBytes(8 << 20), 16, 2, 8000, 64);
    TWaveOut writer;
    writer.SetFileName(Path("a.wav").string());
    writer.SetInput(&source);
    writer.Start();
    writer.Cancel(false);
    const auto file = ReadFile(Path("a.wav"));
    ASSERT_LT(file.size(), (8U << 20) + 44);
    EXPECT_EQ(U32At(file, 40), file.size() - 44);
    EXPECT_EQ(U32At(file, 4), file.size() - 8);
}

TEST_F(WaveOutFiles, ReadFailureEndsTheRunWithItsMessageAndTrueSizes) {
    TPcmSource source(PatternBytes(1000), 16, 1, 8000);
    source.FailReadsWith("disk gone");
    ASSERT_EQ(Write(source, "a.wav"), "disk gone");
    const auto file = ReadFile(Path("a.wav"));
    ASSERT_EQ(file.size(), 44U);
    EXPECT_EQ(U32At(file, 40), 0U);
}

TEST_F(WaveOutFiles, SmallUnevenBlocksAreGatheredIntoTheFileWhole) {
    // MP3-frame-sized blocks, and a last one shorter than the rest.
    const auto data = PatternBytes(200004);
    TPcmSource source(data, 16, 2, 44100, 4608);
    ASSERT_EQ(Write(source, "a.wav"), "");
    const auto file = ReadFile(Path("a.wav"));
    ASSERT_EQ(file.size(), data.size() + 44);
    EXPECT_TRUE(std::equal(data.begin(), data.end(), file.begin() + 44));
    EXPECT_EQ(U32At(file, 40), data.size());
}

TEST_F(WaveOutFiles, ReadFailureKeepsWhatTheInputGaveBeforeIt) {
    const auto data = PatternBytes(40000);
    TPcmSource source(data, 16, 1, 8000, 1000);
    source.FailReadsWith("disk gone", 10000);
    ASSERT_EQ(Write(source, "a.wav"), "disk gone");
    const auto file = ReadFile(Path("a.wav"));
    ASSERT_EQ(file.size(), 10044U);
    EXPECT_TRUE(std::equal(data.begin(), data.begin() + 10000, file.begin() + 44));
    EXPECT_EQ(U32At(file, 40), 10000U);
}

TEST_F(WaveOutFiles, AppendingPcmExtendsTheDataChunk) {
    TPcmSource first(PatternBytes(400), 16, 2, 8000);
    ASSERT_EQ(Write(first, "a.wav"), "");
    TPcmSource second(PatternBytes(800), 16, 2, 8000);
    ASSERT_EQ(Write(second, "a.wav", wtPCM, foAppend), "");
    const auto file = ReadFile(Path("a.wav"));
    ASSERT_EQ(file.size(), 1244U);
    EXPECT_EQ(U32At(file, 40), 1200U);
    EXPECT_EQ(U32At(file, 4), 1236U);
}

TEST_F(WaveOutFiles, AppendingToAMissingFileWritesAFreshOne) {
    TPcmSource source(PatternBytes(400), 16, 2, 8000);
    ASSERT_EQ(Write(source, "new.wav", wtPCM, foAppend), "");
    const auto file = ReadFile(Path("new.wav"));
    ASSERT_EQ(file.size(), 444U);
    EXPECT_EQ(U32At(file, 40), 400U);
}

TEST_F(WaveOutFiles, AppendingFindsLowerCaseTagsAndChunksBeforeTheData) {
    std::vector<std::uint8_t> file = {'r', 'i', 'f', 'f', 0,   0,    0,    0, 'w', 'a',  'v',  'e', 'l', 'i', 's',
                                      't', 3,   0,   0,   0,   1,    2,    3, 'f', 'm',  't',  ' ', 16,  0,   0,
                                      0,   1,   0,   1,   0,   0x40, 0x1F, 0, 0,   0x80, 0x3E, 0,   0,   2,   0,
                                      16,  0,   'd', 'a', 't', 'a',  2,    0, 0,   0,    7,    0};
    WriteFile(Path("a.wav"), file);
    TPcmSource source(PatternBytes(10), 16, 1, 8000);
    ASSERT_EQ(Write(source, "a.wav", wtPCM, foAppend), "");
    const auto appended = ReadFile(Path("a.wav"));
    ASSERT_EQ(appended.size(), file.size() + 10);
    EXPECT_EQ(U32At(appended, 51), 12U);
}

TEST_F(WaveOutFiles, AppendRefusals) {
    struct Case {
        std::vector<std::uint8_t> Existing;
        int Bits, Channels, Rate;
        TWavType Type;
        std::string Error;
    };
    std::vector<Case> cases;
    {
        TPcmSource pcm(PatternBytes(40), 16, 2, 8000);
        ASSERT_EQ(Write(pcm, "pcm.wav"), "");
    }
    const auto pcm = ReadFile(Path("pcm.wav"));
    auto msAdpcm = pcm;
    msAdpcm[20] = 2;
    cases.push_back({pcm, 16, 2, 11025, wtPCM, "Cannot append data in different audio format."});
    cases.push_back({pcm, 8, 2, 8000, wtPCM, "Cannot append data in different audio format."});
    cases.push_back({pcm, 16, 1, 8000, wtPCM, "Cannot append data in different audio format."});
    cases.push_back({msAdpcm, 16, 2, 8000, wtPCM, "Cannot append data to this .wav file."});
    cases.push_back(
        {{'n', 'o', 't', ' ', 'w', 'a', 'v', 'e'}, 16, 2, 8000, wtPCM, "Cannot append data to this .wav file."});
    for (const Case& c : cases) {
        WriteFile(Path("a.wav"), c.Existing);
        TPcmSource source(PatternBytes(40), c.Bits, c.Channels, c.Rate);
        EXPECT_EQ(Write(source, "a.wav", c.Type, foAppend), c.Error);
        EXPECT_EQ(ReadFile(Path("a.wav")), c.Existing);
        EXPECT_FALSE(source.Busy());
    }
}

TEST_F(WaveOutFiles, ImaHeaderFollowsTheBlockSize) {
    struct Case {
        int Channels;
        std::uint16_t Block;
        std::uint32_t Frames;
    };
    for (const Case& c : {Case{1, 512, 1017}, Case{2, 512, 505}, Case{1, 256, 505}}) {
        const std::size_t frames = 5000;
        TPcmSource source(Le16(TestSignal(frames, c.Channels)), 16, c.Channels, 22050);
        TWaveOut writer;
        writer.SetFileName(Path("a.wav").string());
        writer.SetWavType(wtDVIADPCM);
        writer.SetBlockSize(c.Block);
        writer.SetInput(&source);
        ASSERT_EQ(RunToEnd(writer), "");
        const auto file = ReadFile(Path("a.wav"));
        const std::size_t blocks = frames / c.Frames + 1;
        ASSERT_EQ(file.size(), 60 + blocks * c.Block);
        EXPECT_EQ(U16At(file, 20), 0x11);
        EXPECT_EQ(U32At(file, 28), (22050 / c.Frames) * c.Block);
        EXPECT_EQ(U16At(file, 32), c.Block);
        EXPECT_EQ(U16At(file, 34), 4);
        EXPECT_EQ(U16At(file, 38), c.Frames);
        EXPECT_EQ(U32At(file, 48), frames);
        EXPECT_EQ(U32At(file, 56), blocks * c.Block);
        EXPECT_EQ(U32At(file, 4), file.size() - 8);
    }
}

TEST_F(WaveOutFiles, ImaRefusals) {
    struct Case {
        int Bits, Channels;
        std::uint16_t Block;
        std::string Error;
    };
    for (const Case& c : {Case{8, 1, 512, "Cannot encode 8 bit sound into ADPCM."},
                          Case{16, 3, 512, "Cannot encode more than 2 channels into ADPCM."},
                          Case{16, 2, 516, "Cannot encode ADPCM in blocks of this size."},
                          Case{16, 1, 32772, "Cannot encode ADPCM in blocks of this size."}}) {
        TPcmSource source(PatternBytes(600), c.Bits, c.Channels, 8000);
        TWaveOut writer;
        writer.SetFileName(Path("a.wav").string());
        writer.SetWavType(wtDVIADPCM);
        writer.SetBlockSize(c.Block);
        writer.SetInput(&source);
        EXPECT_EQ(RunToEnd(writer), c.Error);
        EXPECT_FALSE(source.Busy());
    }
}

TEST_F(WaveOutFiles, AppendingImaReusesTheFileBlockAlignment) {
    const auto signal = TestSignal(3000, 1);
    TPcmSource first(Le16(signal), 16, 1, 8000);
    TWaveOut writer;
    writer.SetFileName(Path("a.wav").string());
    writer.SetWavType(wtDVIADPCM);
    writer.SetBlockSize(256);
    writer.SetInput(&first);
    ASSERT_EQ(RunToEnd(writer), "");
    writer.SetBlockSize(1024);
    writer.SetFileMode(foAppend);
    TPcmSource second(Le16(signal), 16, 1, 8000);
    writer.SetInput(&second);
    ASSERT_EQ(RunToEnd(writer), "");
    const auto file = ReadFile(Path("a.wav"));
    const std::size_t blocks = 2 * (3000 / 505 + 1);
    ASSERT_EQ(file.size(), 60 + blocks * 256);
    EXPECT_EQ(U32At(file, 56), blocks * 256);
    EXPECT_EQ(U32At(file, 48), blocks * 505);
    EXPECT_EQ(writer.BlockSize(), 1024);
}

// What one run had to write (the appended file's kind, the extensible
// header) does not change what the next run is asked to write.
TEST_F(WaveOutFiles, AppendedKindDoesNotOutliveItsRun) {
    TPcmSource pcm(PatternBytes(400), 16, 1, 8000);
    ASSERT_EQ(Write(pcm, "a.wav"), "");
    TWaveOut writer;
    writer.SetWavType(wtDVIADPCM);
    writer.SetFileMode(foAppend);
    writer.SetFileName(Path("a.wav").string());
    TPcmSource more(PatternBytes(400), 16, 1, 8000);
    writer.SetInput(&more);
    ASSERT_EQ(RunToEnd(writer), "");
    EXPECT_EQ(ReadFile(Path("a.wav")).size(), 844U);
    writer.SetFileMode(foRewrite);
    writer.SetFileName(Path("b.wav").string());
    TPcmSource again(PatternBytes(400), 16, 1, 8000);
    writer.SetInput(&again);
    ASSERT_EQ(RunToEnd(writer), "");
    EXPECT_EQ(writer.WavType(), wtDVIADPCM);
    EXPECT_EQ(U16At(ReadFile(Path("b.wav")), 20), 0x11);
}

TEST(WaveOutProperties, SettersKeepTheirRules) {
    TWaveOut writer;
    for (TWavType ignored : {wtMSADPCM, wtExtPCM, wtIEEEFloat, wtUnsupported}) {
        writer.SetWavType(ignored);
        EXPECT_EQ(writer.WavType(), wtPCM);
    }
    writer.SetWavType(wtDVIADPCM);
    EXPECT_EQ(writer.WavType(), wtDVIADPCM);
    writer.SetBlockSize(0);
    writer.SetBlockSize(510);
    EXPECT_EQ(writer.BlockSize(), 512);
    writer.SetBlockSize(1024);
    EXPECT_EQ(writer.BlockSize(), 1024);
    writer.SetFileMode(foAppend);
    EXPECT_EQ(writer.FileMode(), foAppend);
}

TEST(WaveOutProperties, NoFileNameIsRefused) {
    TPcmSource source(PatternBytes(4), 16, 1, 8000);
    TWaveOut writer;
    writer.SetInput(&source);
    EXPECT_EQ(RunToEnd(writer), "File name is not assigned.");
}

}  // namespace
}  // namespace quorvel::test
