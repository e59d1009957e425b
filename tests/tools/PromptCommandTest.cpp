#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "CardToolRun.h"
#include "ScratchCard.h"

namespace {

namespace fs = std::filesystem;

// A tone made by sox; false when sox failed.
bool makeRecording(const fs::path& path, const std::string& format) {
    const std::string command = "sox -n " + format + " '" + path.string() + "' synth 0.5 sine 440 vol 0.25";
    return std::system(command.c_str()) == 0;
}

class PromptCommand : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(runCardTool({"init", card.folder()}).status, 0);
        ASSERT_TRUE(makeRecording(card.path() / "take.wav", "-r 16000 -c 2 -b 16"));
    }
    ScratchCard card;
};

TEST_F(PromptCommand, InstallsThePromptAndPrintsItsSummary) {
    const auto run = runCardTool({"prompt", card.folder(), "4", (card.path() / "take.wav").string()});
    ASSERT_EQ(run.status, 0) << run.err;
    const auto json = nlohmann::json::parse(run.out);
    EXPECT_EQ(json["prompt"], "104.wav");
    EXPECT_EQ(json["sampleRate"], 16000);
    EXPECT_EQ(json["channels"], 1);
    EXPECT_EQ(json["frames"], 8000);
    EXPECT_NEAR(json["peakBefore"].get<int>(), 8192, 2);
    EXPECT_NEAR(json["gain"].get<double>(), 4.0, 0.01);
    EXPECT_TRUE(json["targetReached"].get<bool>());
    EXPECT_TRUE(json["speechLevelDbm0"].is_number());
    EXPECT_EQ(card.read("104.wav").substr(0, 4), "RIFF");
    // Nothing on stderr when it is not a terminal: no progress bar.
    EXPECT_EQ(run.err, "");
}

// 2 s of silence before a 1 s tone and 3 s after come down to 0.3 s and
// 0.5 s around what the meter finds active (the tone and its 0.2 s hangover).
TEST_F(PromptCommand, TrimCutsTheSilenceAroundTheSpeech) {
    const fs::path padded = card.path() / "padded.wav";
    const std::string command = "sox -n -r 8000 -c 1 -b 16 '" + padded.string() + "' synth 1 sine 440 vol 0.25 pad 2 3";
    ASSERT_EQ(std::system(command.c_str()), 0);
    for (const bool trim : {false, true}) {
        std::vector<std::string> arguments = {"prompt", card.folder(), "3", padded.string(), "--level", "none"};
        if (trim) arguments.push_back("--trim");
        const auto run = runCardTool(arguments);
        ASSERT_EQ(run.status, 0) << run.err;
        const int frames = nlohmann::json::parse(run.out)["frames"];
        if (trim) {
            // The meter's envelope decays for a little while after the tone.
            EXPECT_GE(frames, 8000 * 2.0);
            EXPECT_LE(frames, 8000 * 2.2);
        } else {
            EXPECT_EQ(frames, 8000 * 6);
        }
    }
}

TEST_F(PromptCommand, SpeechLevelAndVinheta) {
    const auto run =
        runCardTool({"prompt", card.folder(), "VINHETA", (card.path() / "take.wav").string(), "--level", "speech"});
    ASSERT_EQ(run.status, 0) << run.err;
    const auto json = nlohmann::json::parse(run.out);
    EXPECT_EQ(json["prompt"], "132.wav");
    EXPECT_NEAR(json["speechLevelDbm0"].get<double>(), -19.0, 0.2);
    EXPECT_TRUE(fs::exists(card.path() / "132.wav"));
}

TEST_F(PromptCommand, RefusedArgumentsAndForeignFilesExit2AndTouchNothing) {
    card.write("notes.wav", "not a recording");
    const auto before = card.snapshot();
    const std::string take = (card.path() / "take.wav").string();
    const std::vector<std::vector<std::string>> refused = {
        {"prompt", card.folder(), "10", take},
        {"prompt", card.folder(), "M1", take},
        {"prompt", card.folder(), "1", take, "--level", "loud"},
        {"prompt", card.folder(), "1", (card.path() / "notes.wav").string()},
        {"prompt", card.folder(), "1", (card.path() / "absent.mp3").string()},
    };
    for (const auto& arguments : refused) {
        const auto run = runCardTool(arguments);
        EXPECT_EQ(run.status, 2) << arguments[2] << " " << arguments[3];
        EXPECT_EQ(run.out, "");
        EXPECT_FALSE(run.err.empty());
        EXPECT_EQ(card.snapshot(), before);
    }
}

TEST_F(PromptCommand, FailedConversionKeepsTheOldPromptAndLeavesNoTemporaryFile) {
    card.write("103.wav", "old prompt");
    const auto before = card.snapshot();
    // The 16 KB mono file cannot grow past 10 KB: the writer fails midway.
    const auto run = runCardTool({"prompt", card.folder(), "3", (card.path() / "take.wav").string()}, 10000);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err.rfind("Falha na conversão: ", 0), 0u) << run.err;
    EXPECT_EQ(card.snapshot(), before);
}

}  // namespace
