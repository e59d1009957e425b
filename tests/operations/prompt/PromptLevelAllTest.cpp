#include "operations/prompt/PromptLevelAll.h"

#include "PromptTestSupport.h"
#include "operations/prompt/PromptFiles.h"
#include "operations/prompt/PromptSurvey.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace quorvel::test {
namespace {

using Names = std::vector<std::string>;

// A card with one prompt of each case: too soft, too loud, already on
// target, held back by its peak, silent, stereo and one whose replacement
// fails.
class LevelAllCard : public testing::Test {
protected:
    void SetUp() override {
        if (!HaveSox()) GTEST_SKIP() << "sox is not installed";
        make(0, "synth 2 sine 440 vol 0.02");    // -34 dBm0
        make(1, "synth 2 sine 440 vol 0.9");     // about -1 dBm0
        make(2, "synth 2 sine 440 vol 0.1122");  // -19 dBm0
        // A click every 50 ms: the level is low but the peak is high, so
        // the peak limit holds the gain back.
        std::vector<std::int32_t> clicks(16000, 0);
        for (std::size_t i = 0; i < clicks.size(); i += 400) clicks[i] = 16000;
        WriteFile(Card.path() / "103.wav", PcmWave(clicks));
        Before.push_back(ReadFile(Card.path() / "103.wav"));
        make(4, "trim 0 1");  // silence
        make(5, "synth 2 sine 440 vol 0.05", "-c 2");
        make(6, "synth 2 sine 440 vol 0.3");
    }

    void make(int Index, const std::string& Effects, const std::string& Channels = "-c 1") {
        const std::string out = "'" + Card.prefix() + *promptFileName(Index) + "'";
        ASSERT_TRUE(Sox("-n -r 8000 " + Channels + " -b 16 " + out + " " + Effects)) << Effects;
        Before.push_back(ReadFile(Card.path() / *promptFileName(Index)));
    }

    ScratchFolder Card;
    std::vector<std::vector<std::uint8_t>> Before;
};

TEST_F(LevelAllCard, LevelsWhatIsOffTargetAndKeepsTheRest) {
    EXPECT_EQ(PromptsToLevel(Card.prefix()), (Names{"100.wav", "101.wav", "103.wav", "106.wav"}));

    const TLevelAllOutcome outcome =
        LevelAllPrompts(Card.prefix(), [](const std::string& Finished, const std::string& Target) {
            if (Target.ends_with("106.wav")) return CardResult::failed("disco cheio", Target);
            return InstallPrompt(Finished, Target);
        });
    EXPECT_EQ(outcome.Changed, (Names{"100.wav", "101.wav", "103.wav"}));
    EXPECT_EQ(outcome.Limited, (Names{"103.wav"}));
    EXPECT_EQ(outcome.Untouched, (Names{"102.wav", "104.wav"}));
    ASSERT_EQ(outcome.Failed.size(), 2U);
    EXPECT_EQ(outcome.Failed[0], (std::pair<std::string, std::string>{"105.wav", "não é mono"}));
    EXPECT_EQ(outcome.Failed[1], (std::pair<std::string, std::string>{"106.wav", "disco cheio"}));

    for (const int index : {0, 1}) {
        const PromptSurvey survey = surveyPrompt(Card.prefix(), index, 0);
        EXPECT_EQ(survey.state, PromptSurveyState::Ok);
        ASSERT_TRUE(survey.speechLevelDbm0) << index;
        EXPECT_NEAR(*survey.speechLevelDbm0, -19.0, 0.3) << index;
    }
    const PromptSurvey limited = surveyPrompt(Card.prefix(), 3, 0);
    EXPECT_LE(*limited.peak, 29204 + 1);
    EXPECT_GE(*limited.peak, 29204 - 2) << "the gain goes as far as the peak limit";
    for (const int index : {2, 4, 5, 6})
        EXPECT_EQ(ReadFile(Card.path() / *promptFileName(index)), Before[index]) << index;
    EXPECT_EQ(Card.names().size(), 7U) << "no temporary file is left behind";
}

}  // namespace
}  // namespace quorvel::test
