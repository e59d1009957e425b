#include "operations/prompt/PromptConversion.h"
#include "operations/prompt/PromptFiles.h"

#include "PromptTestSupport.h"
#include "audio/pipeline/WindowDispatcher.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace quorvel::test
