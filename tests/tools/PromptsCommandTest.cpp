#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "CardToolRun.h"
#include "ScratchCard.h"

namespace {

bool haveSox() { return std::system("command -v sox >/dev/null 2>&1") == 0; }

// Makes prompt `name` of the card with sox.
bool soxPrompt(const ScratchCard& card, const std::string& name, const std::string& format,
               const std::string& effects) {
    const std::string command = "sox -n " + format + " '" + (card.path() / name).string() + "' " + effects;
    return std::system(command.c_str()) == 0;
}

// Three seconds of 8 kHz 16-bit mono PCM, silent but for a click of 16000
// every 400 samples.
std::string clickTrain() {
    const auto le = [](std::uint32_t value, int bytes) {
        std::string out;
        for (int i = 0; i < bytes; ++i) out += static_cast<char>(value >> (8 * i));
        return out;
    };
    std::string samples(48000, '\0');
    for (std::size_t i = 0; i < samples.size(); i += 800) samples.replace(i, 2, le(16000, 2));
    return "RIFF" + le(36 + 48000, 4) + "WAVEfmt " + le(16, 4) + le(1, 2) + le(1, 2) + le(8000, 4) + le(16000, 4) +
           le(2, 2) + le(16, 2) + "data" + le(48000, 4) + samples;
}

class PromptsCommand : public ::testing::Test {
protected:
    void SetUp() override {
        if (!haveSox()) GTEST_SKIP() << "sox is not installed";
        ASSERT_TRUE(soxPrompt(card, "100.wav", "-r 8000 -c 1 -b 16", "synth 2 sine 440 vol 0.02"));
        ASSERT_TRUE(soxPrompt(card, "102.wav", "-r 8000 -c 2 -b 16", "synth 1 sine 440 vol 0.5"));
        ASSERT_TRUE(soxPrompt(card, "103.wav", "-r 8000 -c 1 -b 8", "synth 1 sine 440 vol 0.5"));
        ASSERT_TRUE(soxPrompt(card, "104.wav", "-r 16000 -c 1 -b 16", "synth 1.5 sine 440 vol 0.1122"));
        // A click every 50 ms: the level is low but the peak is high, so
        // the peak limit holds the gain back.
        card.write("132.wav", clickTrain());
    }
    ScratchCard card;
};

TEST_F(PromptsCommand, PrintsEveryPromptInOrder) {
    const auto run = runCardTool({"prompts", card.folder()});
    ASSERT_EQ(run.status, 0) << run.err;
    const auto rows = nlohmann::json::parse(run.out).at("prompts");
    ASSERT_EQ(rows.size(), 11U);
    for (int index = 0; index < 11; ++index) {
        const auto& row = rows[index];
        EXPECT_EQ(row["target"], index == 10 ? "vinheta" : std::to_string(index));
        EXPECT_EQ(row["prompt"], index == 10 ? "132.wav" : "10" + std::to_string(index) + ".wav");
        if (row["state"] == "absent") {
            for (const char* figure : {"seconds", "sampleRate", "peak", "speechLevelDbm0"})
                EXPECT_TRUE(row[figure].is_null()) << index << " " << figure;
        }
    }
    EXPECT_EQ(rows[1]["state"], "absent");
    // Unplayable, but read: the figures of a stereo and an 8-bit recording.
    EXPECT_EQ(rows[2]["state"], "unplayable");
    EXPECT_EQ(rows[2]["seconds"], 1.0);
    EXPECT_EQ(rows[3]["state"], "unplayable");
    EXPECT_NEAR(rows[3]["peak"].get<int>(), 16384, 16384 / 25);
    EXPECT_NEAR(rows[3]["speechLevelDbm0"].get<double>(), -6.0, 0.2);
    const auto& good = rows[4];
    EXPECT_EQ(good["state"], "ok");
    EXPECT_DOUBLE_EQ(good["seconds"].get<double>(), 1.5);
    EXPECT_EQ(good["sampleRate"], 16000);
    EXPECT_NEAR(good["peak"].get<int>(), 3677, 5);
    EXPECT_NEAR(good["speechLevelDbm0"].get<double>(), -19.0, 0.15);
    EXPECT_NEAR(rows[0]["speechLevelDbm0"].get<double>(), -34.0, 0.15);
}

TEST_F(PromptsCommand, LevelAllChangesWhatIsOffTarget) {
    const auto before = card.snapshot();
    const auto run = runCardTool({"level-all", card.folder()});
    EXPECT_EQ(run.status, 1) << "the stereo and 8-bit prompts cannot be levelled";
    const auto json = nlohmann::json::parse(run.out);
    EXPECT_EQ(json["changed"], (std::vector<std::string>{"100.wav", "132.wav"}));
    EXPECT_EQ(json["untouched"], (std::vector<std::string>{"104.wav"}));
    EXPECT_EQ(json["limited"], (std::vector<std::string>{"132.wav"}));
    EXPECT_EQ(json["failed"], nlohmann::json::parse(R"([{"prompt": "102.wav", "error": "não é mono"},
                                                        {"prompt": "103.wav", "error": "não é 16 bits"}])"));
    const auto after = card.snapshot();
    for (const char* name : {"102.wav", "103.wav", "104.wav"}) EXPECT_EQ(after.at(name), before.at(name)) << name;
    EXPECT_EQ(after.size(), before.size()) << "no temporary file is left behind";

    const auto rows = nlohmann::json::parse(runCardTool({"prompts", card.folder()}).out).at("prompts");
    EXPECT_NEAR(rows[0]["speechLevelDbm0"].get<double>(), -19.0, 0.3);
    EXPECT_NEAR(rows[10]["peak"].get<int>(), 29204, 2) << "limited by the -1 dBFS peak";
    EXPECT_LT(rows[10]["speechLevelDbm0"].get<double>(), -19.3);
}

TEST_F(PromptsCommand, LevelAllGoesOnPastAPromptItCannotWrite) {
    std::filesystem::remove(card.path() / "102.wav");
    std::filesystem::remove(card.path() / "103.wav");
    // Long prompts before a short one: a file size limit fails the long ones only.
    ASSERT_TRUE(soxPrompt(card, "105.wav", "-r 8000 -c 1 -b 16", "synth 0.2 sine 440 vol 0.02"));
    const auto before = card.snapshot();
    const auto run = runCardTool({"level-all", card.folder()}, 10000);
    EXPECT_EQ(run.status, 1);
    const auto json = nlohmann::json::parse(run.out);
    EXPECT_EQ(json["changed"], (std::vector<std::string>{"105.wav"}));
    ASSERT_EQ(json["failed"].size(), 2U);
    EXPECT_EQ(json["failed"][0]["prompt"], "100.wav");
    EXPECT_EQ(json["failed"][1]["prompt"], "132.wav");
    const auto after = card.snapshot();
    EXPECT_EQ(after.at("100.wav"), before.at("100.wav"));
    EXPECT_EQ(after.at("132.wav"), before.at("132.wav"));
    EXPECT_EQ(after.size(), before.size());
}

}  // namespace
