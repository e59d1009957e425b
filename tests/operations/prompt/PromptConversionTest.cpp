#include "operations/prompt/PromptConversion.h"
#include "operations/prompt/PromptFiles.h"

#include "PromptTestSupport.h"
#include "audio/pipeline/WindowDispatcher.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <bit>
#include <chrono>
#include <optional>
#include <thread>

namespace quorvel::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// Runs one conversion to its end, draining the pipeline's events here as the
// window's event loop would.
struct TConversionRun {
    std::vector<std::string> Log;
    std::optional<TPromptResult> Result;

    void Run(TPromptConversion& Conversion, TPromptRequest Request) {
        Conversion.ConnectSinkEvents([](int) {});
        Conversion.Begin(std::move(Request), {[this](const std::string& Text) { Log.push_back(Text); },
                                              [this](const TPromptResult& Done) { Result = Done; }});
        const auto limit = std::chrono::steady_clock::now() + 60s;
        while (!Result && std::chrono::steady_clock::now() < limit) {
            if (WindowDispatcher().Drain() == 0) std::this_thread::sleep_for(1ms);
        }
        ASSERT_TRUE(Result.has_value()) << "the conversion did not end";
    }
};

std::vector<std::int32_t> StereoRamp(int Frames, int Step) {
    std::vector<std::int32_t> samples;
    for (int i = 0; i < Frames; ++i) {
        samples.push_back((i * Step) % 100 - 50);
        samples.push_back(-((i * Step) % 100 - 50));
    }
    return samples;
}

const std::vector<std::string> WavTexts = {"Convertendo aguarde wav para mono...",
                                           "Arquivo convertido com sucesso! Aguarde...",
                                           "Processos de conversão finalizados..."};

TEST(PromptConversion, StereoEightBitWavBecomesSixteenBitMonoPromptAndTheSourceStays) {
    ScratchFolder card;
    // The source lies in the card folder itself, under an upper-case name.
    std::vector<std::int32_t> samples;
    for (int i = 0; i < 4000; ++i) {
        samples.push_back(i % 2 == 0 ? 100 : -100);
        samples.push_back(i % 2 == 0 ? 20 : -20);
    }
    const auto source = PcmWave(samples, 2, 11025, 8);
    WriteFile(card.path() / "GRAVACAO.WAV", source);
    WriteFile(card.path() / "105.wav", PcmWave({1, 2, 3}));

    TPromptConversion conversion;
    TConversionRun run;
    run.Run(conversion, {card.prefix(), 5, (card.path() / "GRAVACAO.WAV").string(), TLevelMode::Peak});
    ASSERT_EQ(run.Result->Outcome, TPromptOutcome::Installed) << run.Result->Error;
    EXPECT_EQ(run.Log, WavTexts);
    EXPECT_EQ(run.Result->PromptName, "105.wav");
    EXPECT_EQ(card.names(), (std::vector<std::string>{"105.wav", "GRAVACAO.WAV"}));
    EXPECT_EQ(ReadFile(card.path() / "GRAVACAO.WAV"), source);

    const auto prompt = ReadFile(card.path() / "105.wav");
    const auto mono = PcmSamples(prompt);
    ASSERT_EQ(mono.size(), 4000u);
    EXPECT_EQ(prompt, PcmWave(std::vector<std::int32_t>(mono.begin(), mono.end()), 1, 11025, 16));
    EXPECT_EQ(*std::max_element(mono.begin(), mono.end()), 32767);
    EXPECT_EQ(run.Result->Summary.Frames, 4000);
    EXPECT_EQ(run.Result->Summary.SampleRate, 11025);
    EXPECT_EQ(run.Result->Summary.Channels, 1);
}

TEST(PromptConversion, Mp3NamedLikeAPromptDecodesBesideItWithoutTouchingIt) {
    ScratchFolder card;
    // "100.mp3" once decoded into "100.wav", the prompt of menu 0.
    ASSERT_TRUE(MakeMp3(card.path() / "100.mp3", 1.0));
    const auto mp3 = ReadFile(card.path() / "100.mp3");
    const auto vinheta = PcmWave({5, 6, 7});
    WriteFile(card.path() / "132.wav", vinheta);

    TPromptConversion conversion;
    TConversionRun run;
    run.Run(conversion, {card.prefix(), 0, (card.path() / "100.mp3").string(), TLevelMode::Speech});
    ASSERT_EQ(run.Result->Outcome, TPromptOutcome::Installed) << run.Result->Error;
    std::vector<std::string> texts = {"Convertendo arquivos mp3 para wav aguarde...",
                                      "Arquivo convertido com sucesso!Aguarde..."};
    texts.insert(texts.end(), WavTexts.begin(), WavTexts.end());
    EXPECT_EQ(run.Log, texts);
    EXPECT_EQ(card.names(), (std::vector<std::string>{"100.mp3", "100.wav", "132.wav"}));
    EXPECT_EQ(ReadFile(card.path() / "100.mp3"), mp3);
    EXPECT_EQ(ReadFile(card.path() / "132.wav"), vinheta);
    const TPromptSummary& summary = run.Result->Summary;
    EXPECT_EQ(summary.SampleRate, 22050);
    EXPECT_EQ(summary.Channels, 1);
    ASSERT_TRUE(summary.SpeechLevelDbm0.has_value());
    EXPECT_NEAR(*summary.SpeechLevelDbm0, SpeechTargetDbm0, 0.2);
    EXPECT_TRUE(summary.TargetReached);
}

TEST(PromptConversion, InvalidSourcesEndAtOnceAndTouchNothing) {
    ScratchFolder card;
    WriteFile(card.path() / "105.wav", PcmWave({1, 2, 3}));
    WriteFile(card.path() / "noise.wav", {'R', 'I', 'F', 'F', 1, 2, 3});
    WriteFile(card.path() / "noise.mp3", std::vector<std::uint8_t>(3000, 0x55));
    WriteFile(card.path() / "notes.txt", {'h', 'i'});
    const auto before = card.names();
    for (const char* name : {"noise.wav", "noise.mp3", "notes.txt", "missing.wav"}) {
        TPromptConversion conversion;
        TConversionRun run;
        run.Run(conversion, {card.prefix(), 5, (card.path() / name).string(), TLevelMode::Peak});
        EXPECT_EQ(run.Result->Outcome, TPromptOutcome::Invalid) << name;
        EXPECT_EQ(run.Log, (std::vector<std::string>{"Arquivo de áudio inválido ou não suportado."})) << name;
        EXPECT_EQ(card.names(), before) << name;
        EXPECT_EQ(ReadFile(card.path() / "105.wav"), PcmWave({1, 2, 3}));
    }
}

TEST(PromptConversion, FailedInstallKeepsTheOldPromptAndLeavesNothingBehind) {
    ScratchFolder card;
    WriteFile(card.path() / "source.wav", PcmWave(StereoRamp(500, 7), 2));
    // The prompt's name is taken by a folder with a file in it: the rename fails.
    fs::create_directories(card.path() / "107.wav");
    WriteFile(card.path() / "107.wav" / "keep", {'k'});
    TPromptConversion conversion;
    TConversionRun run;
    run.Run(conversion, {card.prefix(), 7, (card.path() / "source.wav").string(), TLevelMode::Peak});
    EXPECT_EQ(run.Result->Outcome, TPromptOutcome::Failed);
    EXPECT_FALSE(run.Result->Error.empty());
    EXPECT_EQ(run.Log.back(), "Falha na conversão: " + run.Result->Error);
    EXPECT_EQ(card.names(), (std::vector<std::string>{"107.wav", "source.wav"}));
    EXPECT_TRUE(fs::exists(card.path() / "107.wav" / "keep"));
}

TEST(PromptConversion, LevelNoneInstallsTheConvertersOutputUntouched) {
    ScratchFolder card;
    WriteFile(card.path() / "source.wav", PcmWave({100, -300, 200, 0}, 1, 8000, 16));
    TPromptConversion conversion;
    TConversionRun run;
    run.Run(conversion, {card.prefix(), VinhetaPromptIndex, (card.path() / "source.wav").string(), TLevelMode::None});
    ASSERT_EQ(run.Result->Outcome, TPromptOutcome::Installed) << run.Result->Error;
    // The converter's float stage may move a sample by one step, no more.
    const auto samples = PcmSamples(ReadFile(card.path() / "132.wav"));
    const std::vector<int> source = {100, -300, 200, 0};
    ASSERT_EQ(samples.size(), source.size());
    for (std::size_t i = 0; i < source.size(); ++i) EXPECT_NEAR(samples[i], source[i], 1);
    EXPECT_EQ(run.Result->Summary.Gain, 1.0);
    EXPECT_EQ(run.Result->Summary.PeakAfter, run.Result->Summary.PeakBefore);
}

// The same plain WAV with chunks put between "fmt " and "data".
std::vector<std::uint8_t> WithChunksBeforeData(const std::vector<std::uint8_t>& Plain,
                                               const std::vector<std::vector<std::uint8_t>>& Chunks) {
    std::vector<std::uint8_t> wave(Plain.begin(), Plain.begin() + 36);
    for (const auto& chunk : Chunks) wave.insert(wave.end(), chunk.begin(), chunk.end());
    wave.insert(wave.end(), Plain.begin() + 36, Plain.end());
    const auto riffSize = static_cast<std::uint32_t>(wave.size() - 8);
    for (int i = 0; i < 4; ++i) wave[4 + i] = static_cast<std::uint8_t>(riffSize >> (8 * i));
    return wave;
}

std::vector<std::uint8_t> Chunk(const char* Tag, std::size_t Size, bool PadByte) {
    std::vector<std::uint8_t> chunk(Tag, Tag + 4);
    for (int i = 0; i < 4; ++i) chunk.push_back(static_cast<std::uint8_t>(Size >> (8 * i)));
    for (std::size_t i = 0; i < Size; ++i) chunk.push_back(static_cast<std::uint8_t>('a' + i % 26));
    if (PadByte && Size % 2 == 1) chunk.push_back(0);
    return chunk;
}

TEST(PromptConversion, ChunksBeforeTheDataDoNotChangeThePrompt) {
    std::vector<std::int32_t> samples;
    for (int i = 0; i < 3000; ++i) samples.push_back((i * 37) % 2000 - 1000);
    const auto plain = PcmWave(samples, 1, 8000, 16);
    const struct {
        const char* Name;
        std::vector<std::vector<std::uint8_t>> Chunks;
    } rows[] = {
        {"odd LIST chunk with its pad byte", {Chunk("LIST", 13, true)}},
        {"odd LIST chunk written without the pad byte", {Chunk("LIST", 13, false)}},
        {"two odd chunks, padded", {Chunk("LIST", 7, true), Chunk("note", 1, true)}},
        {"10 KB iXML chunk", {Chunk("iXML", 10240, true)}},
        {"bext and iXML past 8 KiB, odd", {Chunk("bext", 602, true), Chunk("iXML", 9001, true)}},
    };
    ScratchFolder card;
    WriteFile(card.path() / "plain.wav", plain);
    TPromptConversion reference;
    TConversionRun referenceRun;
    referenceRun.Run(reference, {card.prefix(), 1, (card.path() / "plain.wav").string(), TLevelMode::Peak});
    ASSERT_EQ(referenceRun.Result->Outcome, TPromptOutcome::Installed) << referenceRun.Result->Error;
    const auto expected = ReadFile(card.path() / "101.wav");
    ASSERT_EQ(PcmSamples(expected).size(), samples.size());
    for (const auto& row : rows) {
        WriteFile(card.path() / "chunks.wav", WithChunksBeforeData(plain, row.Chunks));
        TPromptConversion conversion;
        TConversionRun run;
        run.Run(conversion, {card.prefix(), 2, (card.path() / "chunks.wav").string(), TLevelMode::Peak});
        ASSERT_EQ(run.Result->Outcome, TPromptOutcome::Installed) << row.Name << ": " << run.Result->Error;
        EXPECT_EQ(ReadFile(card.path() / "102.wav"), expected) << row.Name;
    }
}

std::int32_t BitsOf(float Value) { return std::bit_cast<std::int32_t>(Value); }

TEST(PromptConversion, SixChannelsAreMixedToTheirMean) {
    // Channels spread around each frame's mean, so a mixer that dropped or
    // weighed channels unevenly lands far from it.
    std::vector<std::int32_t> integers;
    std::vector<int> means;
    for (int i = 0; i < 2000; ++i) {
        const int base = (i * 53) % 4000 - 2000;
        const std::vector<int> channels = {base, base + 600, base - 600, base + 1200, base - 1200, base};
        integers.insert(integers.end(), channels.begin(), channels.end());
        means.push_back(base);
    }
    std::vector<std::int32_t> floats;
    for (const auto sample : integers) floats.push_back(BitsOf(static_cast<float>(sample) / 32768.0f));
    const struct {
        const char* Name;
        std::vector<std::uint8_t> Wave;
    } rows[] = {
        {"16-bit PCM", PcmWave(integers, 6, 8000, 16)},
        {"32-bit float", PcmWave(floats, 6, 8000, 32, 3)},
    };
    ScratchFolder card;
    for (const auto& row : rows) {
        WriteFile(card.path() / "surround.wav", row.Wave);
        TPromptConversion conversion;
        TConversionRun run;
        run.Run(conversion, {card.prefix(), 3, (card.path() / "surround.wav").string(), TLevelMode::None});
        ASSERT_EQ(run.Result->Outcome, TPromptOutcome::Installed) << row.Name << ": " << run.Result->Error;
        EXPECT_EQ(run.Result->Summary.Channels, 1) << row.Name;
        const auto mono = PcmSamples(ReadFile(card.path() / "103.wav"));
        ASSERT_EQ(mono.size(), means.size()) << row.Name;
        for (std::size_t i = 0; i < means.size(); ++i) ASSERT_NEAR(mono[i], means[i], 1) << row.Name << " at " << i;
    }
}

TEST(PromptConversion, UnplayableResultsFailAndKeepTheOldPrompt) {
    auto hugeRate = PcmWave({100, 200, 300, 400}, 1, 8000, 16);
    const std::uint32_t rate = 4000000000u;
    for (int i = 0; i < 4; ++i) hugeRate[24 + i] = static_cast<std::uint8_t>(rate >> (8 * i));
    auto zeroRate = PcmWave({100, 200, 300, 400}, 1, 8000, 16);
    for (int i = 0; i < 4; ++i) zeroRate[24 + i] = 0;
    const struct {
        const char* Name;
        std::vector<std::uint8_t> Wave;
    } rows[] = {
        {"4,000,000,000 Hz", hugeRate},
        {"0 Hz", zeroRate},
        {"999 Hz", PcmWave({100, 200, 300, 400}, 1, 999, 16)},
        {"384,001 Hz", PcmWave({100, 200, 300, 400}, 1, 384001, 16)},
        {"a header and no data", PcmWave({}, 1, 8000, 16)},
    };
    ScratchFolder card;
    const auto old = PcmWave({1, 2, 3});
    for (const auto& row : rows) {
        WriteFile(card.path() / "105.wav", old);
        WriteFile(card.path() / "bad.wav", row.Wave);
        TPromptConversion conversion;
        TConversionRun run;
        run.Run(conversion, {card.prefix(), 5, (card.path() / "bad.wav").string(), TLevelMode::Peak});
        EXPECT_NE(run.Result->Outcome, TPromptOutcome::Installed) << row.Name;
        EXPECT_EQ(ReadFile(card.path() / "105.wav"), old) << row.Name;
        EXPECT_EQ(card.names(), (std::vector<std::string>{"105.wav", "bad.wav"})) << row.Name;
    }
    // The edges of the range are playable.
    for (const int edge : {1000, 384000}) {
        WriteFile(card.path() / "edge.wav", PcmWave({100, 200, 300, 400}, 1, edge, 16));
        TPromptConversion conversion;
        TConversionRun run;
        run.Run(conversion, {card.prefix(), 6, (card.path() / "edge.wav").string(), TLevelMode::Peak});
        EXPECT_EQ(run.Result->Outcome, TPromptOutcome::Installed) << edge << " Hz: " << run.Result->Error;
        EXPECT_EQ(run.Result->Summary.SampleRate, edge);
    }
}

TEST(PromptConversion, SourcesThatAreNotRegularFilesAreRefusedWithoutWaiting) {
    ScratchFolder card;
    WriteFile(card.path() / "105.wav", PcmWave({1, 2, 3}));
    ASSERT_EQ(::mkfifo((card.path() / "x.wav").c_str(), 0600), 0);
    fs::create_symlink("/dev/urandom", card.path() / "noise.mp3");
    fs::create_directory(card.path() / "folder.wav");
    for (const char* name : {"x.wav", "noise.mp3", "folder.wav"}) {
        TPromptConversion conversion;
        TConversionRun run;
        run.Run(conversion, {card.prefix(), 5, (card.path() / name).string(), TLevelMode::Peak});
        EXPECT_EQ(run.Result->Outcome, TPromptOutcome::Invalid) << name;
        EXPECT_EQ(ReadFile(card.path() / "105.wav"), PcmWave({1, 2, 3})) << name;
    }
}

bool RunQuietly(const std::string& Command) { return std::system((Command + " 2>/dev/null").c_str()) == 0; }

// What ffmpeg decodes from an MP3, as 16-bit mono samples.
std::vector<std::int16_t> DecodedByFfmpeg(const fs::path& Mp3) {
    const fs::path raw = fs::path(Mp3).replace_extension(".raw");
    if (!RunQuietly("ffmpeg -nostdin -loglevel error -y -i '" + Mp3.string() + "' -f s16le -ac 1 '" + raw.string() +
                    "'"))
        return {};
    const auto bytes = ReadFile(raw);
    fs::remove(raw);
    std::vector<std::int16_t> samples;
    for (std::size_t at = 0; at + 1 < bytes.size(); at += 2)
        samples.push_back(static_cast<std::int16_t>(bytes[at] | (bytes[at + 1] << 8)));
    return samples;
}

TEST(PromptConversion, Mp3WithoutLengthHeaderKeepsEveryDecodedSample) {
    // A VBR MP3 without a Xing header: the length estimated from the first
    // frame's bit rate is far off in either direction.
    ScratchFolder card;
    const struct {
        const char* Name;
        const char* Envelope;
    } rows[] = {
        {"loud, then quiet", "if(lt(t,6),0.8,0.002)"},
        {"quiet, then loud", "if(lt(t,6),0.002,0.8)"},
    };
    constexpr int Rate = 44100;
    for (const auto& row : rows) {
        const fs::path mp3 = card.path() / "vbr.mp3";
        const std::string source = std::string("aevalsrc='") + row.Envelope + "*sin(2*PI*440*t)':s=44100:d=12";
        if (!RunQuietly("ffmpeg -nostdin -loglevel error -y -f lavfi -i \"" + source +
                        "\" -ac 1 -c:a libmp3lame -q:a 2 -write_xing 0 '" + mp3.string() + "'"))
            GTEST_SKIP() << "ffmpeg with libmp3lame could not make the MP3";
        const auto expected = DecodedByFfmpeg(mp3);
        ASSERT_GT(expected.size(), std::size_t{11 * Rate}) << row.Name;
        TPromptConversion conversion;
        TConversionRun run;
        run.Run(conversion, {card.prefix(), 4, mp3.string(), TLevelMode::None});
        ASSERT_EQ(run.Result->Outcome, TPromptOutcome::Installed) << row.Name << ": " << run.Result->Error;
        const auto prompt = PcmSamples(ReadFile(card.path() / "104.wav"));
        // Every decoded sample, then at most a third of a second of silence.
        ASSERT_GE(prompt.size(), expected.size()) << row.Name;
        EXPECT_LE(prompt.size(), expected.size() + Rate / 3) << row.Name;
        std::size_t differing = 0;
        for (std::size_t i = 0; i < expected.size(); ++i)
            if (std::abs(prompt[i] - expected[i]) > 1) ++differing;
        EXPECT_EQ(differing, 0u) << row.Name;
        for (std::size_t i = expected.size(); i < prompt.size(); ++i) ASSERT_EQ(prompt[i], 0) << row.Name;
        fs::remove(mp3);
    }
}

// An MP3 frame whose info header claims 4,294,967,295 frames, in 116 bytes.
std::vector<std::uint8_t> Mp3ClaimingEndlessFrames() {
    std::vector<std::uint8_t> file = {0xFF, 0xFB, 0x90, 0x64};
    file.resize(36, 0);
    for (const char c : std::string("Xing")) file.push_back(static_cast<std::uint8_t>(c));
    for (const int b : {0, 0, 0, 1, 0xFF, 0xFF, 0xFF, 0xFF}) file.push_back(static_cast<std::uint8_t>(b));
    for (const char c : std::string("LAME3.100")) file.push_back(static_cast<std::uint8_t>(c));
    file.resize(116, 0x55);
    return file;
}

TEST(PromptConversion, Mp3ClaimingAnEndlessLengthWritesNoMoreThanItHolds) {
    ScratchFolder card;
    const auto old = PcmWave({1, 2, 3});
    WriteFile(card.path() / "105.wav", old);
    WriteFile(card.path() / "crafted.mp3", Mp3ClaimingEndlessFrames());
    TPromptConversion conversion;
    TConversionRun run;
    run.Run(conversion, {card.prefix(), 5, (card.path() / "crafted.mp3").string(), TLevelMode::Peak});
    // Nothing decodes from it: nothing replaces the prompt, nothing is left.
    EXPECT_NE(run.Result->Outcome, TPromptOutcome::Installed);
    EXPECT_EQ(ReadFile(card.path() / "105.wav"), old);
    EXPECT_EQ(card.names(), (std::vector<std::string>{"105.wav", "crafted.mp3"}));
}

}  // namespace
}  // namespace quorvel::test
