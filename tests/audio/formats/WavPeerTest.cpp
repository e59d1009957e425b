// Files written by sox and ffmpeg are read with the samples ffmpeg decodes
// from them, and files this writer makes are read back by both with the
// samples written. Every input is made here, at test time.
#include "WavTestSupport.h"

#include "audio/formats/ImaAdpcm.h"
#include "audio/pipeline/SampleConversion.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>

namespace quorvel::test {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

std::uint32_t U32At(const Bytes& File, std::size_t Offset) {
    std::uint32_t value;
    std::memcpy(&value, File.data() + Offset, 4);
    return value;
}

void PutU32(Bytes& File, std::size_t Offset, std::uint32_t Value) { std::memcpy(File.data() + Offset, &Value, 4); }

// The same file with a LIST chunk before "fmt " and another after "data", or
// with every tag in lower case.
Bytes Spliced(const Bytes& File, bool Lists, bool LowerCase) {
    const Bytes list = {'L', 'I', 'S', 'T', 6, 0, 0, 0, 'I', 'N', 'F', 'O', 'x', 'y'};
    Bytes out(File.begin(), File.begin() + 12);
    if (Lists) out.insert(out.end(), list.begin(), list.end());
    for (std::size_t at = 12; at + 8 <= File.size();) {
        const std::size_t end = std::min(File.size(), at + 8 + U32At(File, at + 4));
        const std::size_t tag = out.size();
        out.insert(out.end(), File.begin() + static_cast<std::ptrdiff_t>(at),
                   File.begin() + static_cast<std::ptrdiff_t>(end));
        if (LowerCase)
            for (std::size_t i = tag; i < tag + 4; ++i) out[i] = static_cast<std::uint8_t>(std::tolower(out[i]));
        at = end;
    }
    if (Lists) out.insert(out.end(), list.begin(), list.end());
    if (LowerCase)
        for (std::size_t i : {0, 1, 2, 3, 8, 9, 10, 11}) out[i] = static_cast<std::uint8_t>(std::tolower(out[i]));
    PutU32(out, 4, static_cast<std::uint32_t>(out.size() - 8));
    return out;
}

std::string Quoted(const fs::path& Path) { return "'" + Path.string() + "'"; }

enum TRaw { rawU8, rawS16, rawS24, rawS32, rawF32, rawF64 };

// ffmpeg's decoding in the layout this reader delivers.
Bytes FfmpegRaw(const fs::path& Path, TRaw Raw) {
    static const char* const Formats[] = {"u8", "s16le", "s24le", "s32le", "f32le", "f64le"};
    static const char* const Codecs[] = {"pcm_u8", "pcm_s16le", "pcm_s24le", "pcm_s32le", "pcm_f32le", "pcm_f64le"};
    const fs::path raw = Path.string() + ".raw";
    if (!Shell("ffmpeg -y -v error -i " + Quoted(Path) + " -f " + Formats[Raw] + " -c:a " + Codecs[Raw] + " " +
               Quoted(raw)))
        return {};
    Bytes bytes = ReadFile(raw);
    if (Raw == rawF32) SinglesToS32InPlace(bytes.data(), bytes.size());
    if (Raw == rawF64) {
        DoublesToS32InPlace(bytes.data(), bytes.size());
        bytes.resize(bytes.size() / 2);
    }
    return bytes;
}

struct TPeerCase {
    const char* Name;
    std::string Command;  // {out} is the file to make
    TRaw Raw;
    TWavType Kind;
    int Tolerance;  // per 16-bit sample of ADPCM data
};

const std::string Sine = "sine=frequency=440:sample_rate=22050:duration=0.7";
const std::string Chirp =
    "-f lavfi -i 'aevalsrc=0.9*sin(2*PI*(200+3000*t)*t)|0.7*sin(2*PI*(500+900*t)*t):s=16000:d=0.7'";

std::vector<TPeerCase> PeerCases() {
    return {
        {"sox_u8_mono", "sox -n -r 8000 -c 1 -b 8 -e unsigned-integer {out} synth 0.7 sine 440", rawU8, wtPCM, 0},
        {"sox_s16_stereo", "sox -n -r 8000 -c 2 -b 16 {out} synth 0.7 sine 440 sine 660", rawS16, wtPCM, 0},
        {"ffmpeg_s16_mono", "ffmpeg -y -v error -f lavfi -i " + Sine + " -c:a pcm_s16le {out}", rawS16, wtPCM, 0},
        {"ffmpeg_u8_stereo", "ffmpeg -y -v error " + Chirp + " -c:a pcm_u8 {out}", rawU8, wtPCM, 0},
        {"sox_s24_stereo", "sox -n -r 44100 -c 2 -b 24 {out} synth 0.7 sine 440 sine 660", rawS24, wtExtPCM, 0},
        {"ffmpeg_s24_mono", "ffmpeg -y -v error -f lavfi -i " + Sine + " -c:a pcm_s24le {out}", rawS24, wtExtPCM, 0},
        {"sox_s32_mono", "sox -n -r 8000 -c 1 -b 32 {out} synth 0.7 sine 440", rawS32, wtExtPCM, 0},
        {"ffmpeg_s32_stereo", "ffmpeg -y -v error " + Chirp + " -c:a pcm_s32le {out}", rawS32, wtExtPCM, 0},
        {"sox_f32_stereo", "sox -n -r 8000 -c 2 -e floating-point -b 32 {out} synth 0.7 sine 440 sine 660", rawF32,
         wtIEEEFloat, 0},
        {"ffmpeg_f32_mono", "ffmpeg -y -v error -f lavfi -i " + Sine + " -c:a pcm_f32le {out}", rawF32, wtExtIEEEFloat,
         0},
        {"sox_f64_stereo", "sox -n -r 8000 -c 2 -e floating-point -b 64 {out} synth 0.7 sine 440 sine 660", rawF64,
         wtIEEEFloat, 0},
        {"ffmpeg_f64_stereo", "ffmpeg -y -v error " + Chirp + " -c:a pcm_f64le {out}", rawF64, wtExtIEEEFloat, 0},
        // ffmpeg rebuilds each IMA code as ((2|code| + 1) step) >> 3 and lets
        // the prediction reach -32768, where this codec adds the shifted
        // steps and stops at -32767: the two drift apart by a few steps of
        // rounding within a block and meet again at each block header.
        {"ffmpeg_ima_mono", "ffmpeg -y -v error -f lavfi -i " + Sine + " -c:a adpcm_ima_wav {out}", rawS16, wtDVIADPCM,
         64},
        {"ffmpeg_ima_stereo", "ffmpeg -y -v error " + Chirp + " -c:a adpcm_ima_wav {out}", rawS16, wtDVIADPCM, 64},
        {"sox_ima_mono", "sox -n -r 8000 -c 1 -e ima-adpcm {out} synth 0.7 sine 440", rawS16, wtDVIADPCM, 64},
        {"sox_ima_stereo", "sox -n -r 8000 -c 2 -e ima-adpcm {out} synth 0.7 sine 440 sine 660", rawS16, wtDVIADPCM,
         64},
        {"ffmpeg_ms_mono", "ffmpeg -y -v error -f lavfi -i " + Sine + " -c:a adpcm_ms {out}", rawS16, wtMSADPCM, 0},
        {"ffmpeg_ms_stereo", "ffmpeg -y -v error " + Chirp + " -c:a adpcm_ms {out}", rawS16, wtMSADPCM, 0},
        {"sox_ms_mono", "sox -n -r 8000 -c 1 -e ms-adpcm {out} synth 0.7 sine 440", rawS16, wtMSADPCM, 0},
        {"sox_ms_stereo", "sox -n -r 8000 -c 2 -e ms-adpcm {out} synth 0.7 sine 440 sine 660", rawS16, wtMSADPCM, 0},
    };
}

int MaxDifference(const Bytes& Ours, const Bytes& Theirs, std::size_t Count) {
    const auto a = FromLe16(Ours);
    const auto b = FromLe16(Theirs);
    int most = 0;
    for (std::size_t i = 0; i < Count / 2; ++i) most = std::max(most, std::abs(a[i] - b[i]));
    return most;
}

class PeerFiles : public WavFiles, public ::testing::WithParamInterface<TPeerCase> {};

TEST_P(PeerFiles, AreReadAsFfmpegDecodesThem) {
    const TPeerCase& peer = GetParam();
    const fs::path made = Path("made.wav");
    std::string command = peer.Command;
    command.replace(command.find("{out}"), 5, Quoted(made));
    ASSERT_TRUE(Shell(command)) << command;
    const Bytes reference = FfmpegRaw(made, peer.Raw);
    ASSERT_FALSE(reference.empty());
    const Bytes original = ReadFile(made);
    for (const auto& [lists, lower] : {std::pair{false, false}, {true, false}, {false, true}, {true, true}}) {
        const fs::path variant = Path("variant.wav");
        WriteFile(variant, Spliced(original, lists, lower));
        TWaveIn reader;
        reader.SetFileName(variant.string());
        ASSERT_TRUE(reader.IsValid()) << "lists " << lists << ", lower case " << lower;
        EXPECT_EQ(reader.WavType(), peer.Kind);
        const Bytes ours = ReadWave(variant, 4099);
        ASSERT_GT(ours.size(), 0U);
        if (peer.Kind != wtDVIADPCM && peer.Kind != wtMSADPCM) {
            EXPECT_EQ(ours, reference) << "lists " << lists << ", lower case " << lower;
            continue;
        }
        // The "fact" count ends our data; ffmpeg decodes the last block whole.
        ASSERT_LE(ours.size(), reference.size());
        EXPECT_LT(reference.size() - ours.size(), 4096U);
        EXPECT_LE(MaxDifference(ours, reference, ours.size()), peer.Tolerance)
            << "lists " << lists << ", lower case " << lower;
    }
}

INSTANTIATE_TEST_SUITE_P(Peers, PeerFiles, ::testing::ValuesIn(PeerCases()),
                         [](const auto& Info) { return std::string(Info.param.Name); });

struct TWrittenCase {
    const char* Name;
    TWavType Type;
    int Bits, Channels;
    bool NonMsHeaders;
};

class WrittenFiles : public WavFiles, public ::testing::WithParamInterface<TWrittenCase> {};

// The samples written come back from sox and from ffmpeg; for IMA ADPCM they
// are the codec's own reconstruction, within the decoders' difference.
TEST_P(WrittenFiles, AreReadBackBySoxAndFfmpeg) {
    const TWrittenCase& c = GetParam();
    const std::size_t frames = 9000;
    Bytes data;
    if (c.Bits == 16) {
        data = Le16(TestSignal(frames, c.Channels));
    } else {
        data = PatternBytes(frames * static_cast<std::size_t>(c.Channels * c.Bits / 8));
    }
    TPcmSource source(data, c.Bits, c.Channels, 16000);
    TWaveOut writer;
    writer.SetFileName(Path("ours.wav").string());
    writer.SetWavType(c.Type);
    writer.SetCreateNonMsHeaders(c.NonMsHeaders);
    writer.SetInput(&source);
    ASSERT_EQ(RunToEnd(writer), "");
    const Bytes written = c.Type == wtDVIADPCM ? ReadWave(Path("ours.wav")) : data;
    const TRaw raw = c.Bits == 24 ? rawS24 : rawS16;
    const std::string soxBits = std::to_string(c.Bits);
    ASSERT_TRUE(Shell("sox " + Quoted(Path("ours.wav")) + " -t raw -e signed-integer -b " + soxBits + " " +
                      Quoted(Path("sox.raw"))));
    for (const Bytes& theirs : {FfmpegRaw(Path("ours.wav"), raw), ReadFile(Path("sox.raw"))}) {
        if (c.Type != wtDVIADPCM) {
            EXPECT_EQ(theirs, written);
        } else {
            ASSERT_GE(theirs.size(), written.size());
            EXPECT_LE(MaxDifference(written, theirs, written.size()), 64);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Ours, WrittenFiles,
                         ::testing::Values(TWrittenCase{"pcm_mono", wtPCM, 16, 1, true},
                                           TWrittenCase{"pcm_stereo", wtPCM, 16, 2, true},
                                           TWrittenCase{"extensible_24", wtPCM, 24, 2, false},
                                           TWrittenCase{"ima_mono", wtDVIADPCM, 16, 1, true},
                                           TWrittenCase{"ima_stereo", wtDVIADPCM, 16, 2, true}),
                         [](const auto& Info) { return std::string(Info.param.Name); });

}  // namespace
}  // namespace quorvel::test
