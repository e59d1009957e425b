#include "WavTestSupport.h"

#include "audio/formats/WMIn.h"
#include "audio/formats/WaveIn.h"
#include "audio/formats/WaveOut.h"
#include "audio/pipeline/AuException.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace quorvel::test {
namespace {

constexpr const char* kTone = "-f lavfi -i sine=frequency=440:sample_rate=44100:duration=2 -ac 2";

bool Ffmpeg(const std::string& Arguments) { return Shell("ffmpeg -nostdin -y -v error " + Arguments); }

// Everything the input delivers from an open to its end.
std::vector<std::uint8_t> ReadRun(TAuInput& Input, std::uint32_t Request = 16384) {
    Input.Open();
    std::vector<std::uint8_t> bytes = ReadAll(Input, Request);
    Input.Close();
    return bytes;
}

// The container's duration in hundredths of a second, as ffprobe tells it.
int ProbedHundredths(const std::filesystem::path& File) {
    const std::string command =
        "ffprobe -v error -show_entries format=duration -of default=nw=1:nk=1 '" + File.string() + "'";
    FILE* pipe = ::popen(command.c_str(), "r");
    double seconds = 0;
    if (pipe != nullptr) {
        if (std::fscanf(pipe, "%lf", &seconds) != 1) seconds = 0;
        ::pclose(pipe);
    }
    return static_cast<int>(std::lround(seconds * 100));
}

class CompressedInput : public WavFiles {
protected:
    std::string Make(const std::string& Name, const std::string& Codec) {
        const std::string file = Path(Name).string();
        if (!Ffmpeg(std::string(kTone) + " " + Codec + " '" + file + "'")) ADD_FAILURE() << "ffmpeg made no " << Name;
        return file;
    }
};

// Writes Input into a WAV file as the prompt conversion does and returns the
// file's data chunk, checking its 44-byte header against Size.
std::vector<std::uint8_t> WriteThrough(TAuInput& Input, const std::filesystem::path& File) {
    TWaveOut writer;
    writer.SetFileName(File.string());
    writer.SetInput(&Input);
    EXPECT_EQ(RunToEnd(writer), "");
    const std::vector<std::uint8_t> wave = ReadFile(File);
    if (wave.size() < 44) return {};
    const std::uint32_t dataSize = wave[40] | wave[41] << 8 | wave[42] << 16 | std::uint32_t{wave[43]} << 24;
    EXPECT_EQ(dataSize, std::uint32_t(Input.Size()));
    return std::vector<std::uint8_t>(wave.begin() + 44, wave.end());
}

// The decode ffmpeg makes of File, then silence up to Length bytes.
std::vector<std::uint8_t> FfmpegThenSilence(const std::string& File, std::size_t Length) {
    std::vector<std::uint8_t> expected = Le16(FfmpegDecode(File));
    expected.resize(Length, 0);
    return expected;
}

TEST_F(CompressedInput, TwoSecondMp3ExpectsAThirdOfASecondMoreAndDecodesAsFfmpegDoes) {
    const std::string file = Make("tone.mp3", "-c:a libmp3lame -b:a 128k");
    TMP3In input;
    input.SetFileName(file);
    ASSERT_TRUE(input.IsValid());
    EXPECT_EQ(input.GetChannels(), 2);
    EXPECT_EQ(input.GetBitsPerSample(), 16);
    EXPECT_EQ(input.GetSampleRate(), 44100);
    EXPECT_EQ(input.GetFrameCount(), 88200 + 14700);
    EXPECT_EQ(input.Size(), 411600);
    ASSERT_EQ(FfmpegDecode(file).size(), 88200U * 2);
    // Exact: both decodes run libavcodec's decoder and libswresample's conversion to 16 bits.
    EXPECT_EQ(WriteThrough(input, Path("out.wav")), FfmpegThenSilence(file, 411600));
    // Read in odd pieces the samples come out the same.
    EXPECT_EQ(ReadRun(input, 1000), Le16(FfmpegDecode(file)));
}

TEST_F(CompressedInput, WindowsMediaFileDecodesAsFfmpegDoes) {
    const std::string file = Make("tone.wma", "-c:a wmav2 -b:a 128k");
    TWMIn input;
    input.SetFileName(file);
    ASSERT_TRUE(input.IsValid());
    const std::int64_t frames = std::int64_t(ProbedHundredths(file)) * 441;
    EXPECT_EQ(input.GetFrameCount(), frames);
    EXPECT_EQ(input.Size(), frames * 4);
    // Delivery stops at Size; up to there the decode is ffmpeg's own.
    EXPECT_EQ(WriteThrough(input, Path("out.wav")), FfmpegThenSilence(file, std::size_t(frames) * 4));
}

TEST_F(CompressedInput, Mp3InAWaveFileDecodesAsFfmpegDoes) {
    const std::string file = Make("tone.wav", "-c:a libmp3lame -f wav");
    TWaveIn input;
    input.SetFileName(file);
    ASSERT_TRUE(input.IsValid());
    EXPECT_EQ(input.WavType(), wtACM);
    EXPECT_EQ(input.GetBitsPerSample(), 16);
    const std::vector<std::uint8_t> data = WriteThrough(input, Path("out.wav"));
    const std::vector<std::uint8_t> decoded = Le16(FfmpegDecode(file));
    // The converter's length is the frames' full count; what the decoder gives is ffmpeg's, then silence.
    ASSERT_GE(data.size(), decoded.size());
    EXPECT_EQ(std::vector<std::uint8_t>(data.begin(), data.begin() + std::ptrdiff_t(decoded.size())), decoded);
    EXPECT_TRUE(std::all_of(data.begin() + std::ptrdiff_t(decoded.size()), data.end(), [](auto b) { return b == 0; }));
}

TEST_F(CompressedInput, ChannelRequestsAndPrecisionChooseTheDeliveredFormat) {
    const std::string file = Make("tone.mp3", "-c:a libmp3lame");
    struct TCase {
        TChannelsNumber Channels;
        bool HighPrecision;
        int ExpectedChannels;
        int ExpectedBits;
    };
    for (const TCase& c :
         {TCase{cnMonoOrStereo, false, 2, 16}, TCase{cnMonoOrStereo, true, 2, 32}, TCase{cnMaxAvailable, true, 2, 32},
          TCase{cn5dot1, true, 6, 32}, TCase{cn7dot1, true, 8, 32}}) {
        TMP3In input;
        input.SetFileName(file);
        input.SetOutputChannels(c.Channels);
        input.SetHighPrecision(c.HighPrecision);
        ASSERT_TRUE(input.IsValid());
        EXPECT_EQ(input.GetChannels(), c.ExpectedChannels) << c.Channels;
        EXPECT_EQ(input.GetBitsPerSample(), c.ExpectedBits) << c.Channels;
        // The decode ends short of the third of a second that Size adds.
        const std::vector<std::uint8_t> delivered = ReadRun(input);
        EXPECT_EQ(delivered.size(), 88200U * c.ExpectedChannels * c.ExpectedBits / 8) << c.Channels;
    }
}

TEST_F(CompressedInput, PropertyRulesFollowBusyAndChannelRequest) {
    const std::string file = Make("tone.mp3", "-c:a libmp3lame");
    TMP3In input;
    input.SetFileName(file);
    input.SetOutputChannels(cn5dot1);
    EXPECT_TRUE(input.HighPrecision());
    input.SetHighPrecision(false);
    EXPECT_TRUE(input.HighPrecision());
    input.SetOutputChannels(cnMonoOrStereo);
    input.SetHighPrecision(false);
    EXPECT_FALSE(input.HighPrecision());
    // An open file is opened again with the new settings.
    EXPECT_EQ(input.GetBitsPerSample(), 16);
    input.SetHighPrecision(true);
    EXPECT_EQ(input.GetBitsPerSample(), 32);
    input.Open();
    input.SetHighPrecision(false);
    input.SetOutputChannels(cn7dot1);
    EXPECT_TRUE(input.HighPrecision());
    EXPECT_EQ(input.OutputChannels(), cnMonoOrStereo);
    input.Close();
}

TEST_F(CompressedInput, SeekingAsksForHundredthsOfTheDuration) {
    const std::string file = Make("tone.wma", "-c:a wmav2");
    TWMIn input;
    input.SetFileName(file);
    ASSERT_TRUE(input.IsValid());
    const std::vector<std::uint8_t> whole = Le16(FfmpegDecode(file));
    input.Open();
    const std::int64_t frames = input.FrameCount();
    ASSERT_TRUE(input.SeekFrame(frames / 2));
    EXPECT_EQ(input.Position(), frames / 2 * 4);
    std::vector<std::uint8_t> rest;
    for (;;) {
        const std::uint8_t* buffer = nullptr;
        std::uint32_t count = 16384;
        input.Read(buffer, count);
        if (count == 0) break;
        rest.insert(rest.end(), buffer, buffer + count);
    }
    input.Close();
    // The decoder restarts at a packet boundary near the middle.
    EXPECT_GT(rest.size(), whole.size() / 4);
    EXPECT_LT(rest.size(), whole.size() * 3 / 4);
}

TEST_F(CompressedInput, SeekingInAPlayWindowUsesTheWholeFilesLength) {
    const std::string file = Make("tone.wma", "-c:a wmav2");
    TWMIn input;
    input.SetFileName(file);
    const std::int64_t frames = input.GetFrameCount();
    input.SetStartSample(frames / 2);
    input.Open();
    ASSERT_EQ(input.FrameCount(), frames - frames / 2);
    const std::uint8_t* buffer = nullptr;
    std::uint32_t count = 16384;
    input.Read(buffer, count);
    ASSERT_GT(count, 0U);
    // Back to the window's start: the middle of the file, not its end.
    ASSERT_TRUE(input.SeekFrame(0));
    EXPECT_EQ(input.Position(), 0);
    const std::size_t rest = ReadAll(input, 16384).size();
    input.Close();
    EXPECT_GT(rest, std::size_t(input.Size()) / 2);
}

TEST_F(CompressedInput, NoFrameCountRefusesToSeek) {
    // Four milliseconds round to no hundredth: no length, nothing to divide by.
    const std::string file = Path("blip.mp3").string();
    ASSERT_TRUE(Ffmpeg("-f lavfi -i sine=sample_rate=44100:duration=0.004 -c:a libmp3lame '" + file + "'"));
    TWMIn input;
    input.SetFileName(file);
    ASSERT_TRUE(input.IsValid());
    input.Open();
    ASSERT_EQ(input.FrameCount(), 0);
    EXPECT_FALSE(input.SeekFrame(10));
    input.Close();
}

TEST_F(CompressedInput, EncryptedContentIsProtected) {
    const std::string file = Path("locked.m4a").string();
    ASSERT_TRUE(Ffmpeg(std::string(kTone) +
                       " -c:a aac -encryption_scheme cenc-aes-ctr -encryption_key 00112233445566778899aabbccddeeff"
                       " -encryption_kid 00112233445566778899aabbccddeeff '" +
                       file + "'"));
    TWMIn input;
    input.SetFileName(file);
    try {
        input.Open();
        FAIL() << "an encrypted file opened";
    } catch (const EAuException& error) {
        EXPECT_STREQ(error.what(), "File is protected");
    }
}

TEST_F(CompressedInput, FilesTheDecoderCannotReadAreNotValid) {
    const auto file = Path("noise.mp3");
    std::vector<std::uint8_t> noise(5000);
    for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<std::uint8_t>(i * 37 % 251);
    WriteFile(file, noise);
    TMP3In input;
    input.SetFileName(file.string());
    EXPECT_FALSE(input.IsValid());
    TMP3In unnamed;
    EXPECT_THROW(unnamed.Open(), EAuException);
}

TEST_F(CompressedInput, AttributesFillTheId3v2Tags) {
    const std::string file = Path("tagged.wma").string();
    ASSERT_TRUE(Ffmpeg(std::string(kTone) +
                       " -c:a wmav2 -metadata title='Canção de ninar' -metadata artist='Zé' -metadata album=Disco"
                       " -metadata genre=Samba -metadata track=7 -metadata date=1999 -metadata copyright='(c) Nós' '" +
                       file + "'"));
    TWMIn input;
    input.SetFileName(file);
    ASSERT_TRUE(input.IsValid());
    const TId3v2Tags& tags = input.Id3v2Tags();
    EXPECT_EQ(tags.Title(), u"Canção de ninar");
    EXPECT_EQ(tags.Artist(), u"Zé");
    EXPECT_EQ(tags.Album(), u"Disco");
    EXPECT_EQ(tags.Genre(), u"Samba");
    EXPECT_EQ(tags.Track(), "7");
    EXPECT_EQ(tags.Year(), "1999");
    EXPECT_EQ(tags.Comment(), u"(c) Nós");
}

}  // namespace
}  // namespace quorvel::test
