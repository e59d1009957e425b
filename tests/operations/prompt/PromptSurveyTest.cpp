#include "operations/prompt/PromptSurvey.h"

#include "PromptTestSupport.h"
#include "config/PromptFile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>

namespace quorvel::test {
namespace {

struct TSurveyRow {
    int Index;
    std::string Sox;  // how sox makes the prompt; empty: no file
    PromptSurveyState State;
    std::string Problem;
    std::optional<int> Rate;
    std::optional<double> Seconds;
    std::optional<int> Peak;          // within 4 %: 8-bit and A-law steps
    std::optional<double> LevelDbm0;  // within 0.2 dB
};

// A card folder with sox-made prompts of each kind; each is measured with
// figures worked out from the signal sox was asked for.
TEST(PromptSurvey, StatesAndFiguresOfSoxMadePrompts) {
    if (!HaveSox()) GTEST_SKIP() << "sox is not installed";
    ScratchFolder card;
    // A sine of amplitude A has the active level 20 log10(A / sqrt 2 * 32768 / 23170) dBm0.
    const TSurveyRow rows[] = {
        {0, "-r 8000 -c 1 -b 16 {out} synth 2 sine 440 vol 0.5", PromptSurveyState::Ok, "", 8000, 2.0, 16384, -6.02},
        {1, "", PromptSurveyState::Absent, "", {}, {}, {}, {}},
        {2, "-r 8000 -c 2 -b 16 {out} synth 1.5 sine 440 vol 0.25", PromptSurveyState::Unplayable, "não é mono", 8000,
         1.5, 8192, -12.04},
        {3, "-r 11025 -c 1 -b 8 {out} synth 1 sine 440 vol 0.5", PromptSurveyState::Unplayable, "não é 16 bits", 11025,
         1.0, 16384, -6.02},
        {4, "-r 16000 -c 1 -b 16 {out} synth 3 sine 300 vol 0.1", PromptSurveyState::Ok, "", 16000, 3.0, 3277, -20.0},
        {10, "-r 8000 -c 1 -b 8 -e a-law {out} synth 1 sine 440 vol 0.5", PromptSurveyState::Unplayable, "não é PCM",
         8000, 1.0, 16384, -6.02},
    };
    for (const auto& row : rows) {
        if (row.Sox.empty()) continue;
        std::string arguments = "-n " + row.Sox;
        arguments.replace(arguments.find("{out}"), 5, "'" + card.prefix() + *promptFileName(row.Index) + "'");
        ASSERT_TRUE(Sox(arguments)) << arguments;
    }
    for (const auto& row : rows) {
        const PromptSurvey survey = surveyPrompt(card.prefix(), row.Index, 64);
        SCOPED_TRACE(*promptFileName(row.Index));
        EXPECT_EQ(survey.promptIndex, row.Index);
        EXPECT_EQ(survey.promptName, *promptFileName(row.Index));
        EXPECT_EQ(survey.state, row.State);
        EXPECT_EQ(survey.problem, row.Problem);
        EXPECT_EQ(survey.sampleRate, row.Rate);
        ASSERT_EQ(survey.seconds.has_value(), row.Seconds.has_value());
        if (row.Seconds) {
            EXPECT_NEAR(*survey.seconds, *row.Seconds, 1e-3);
        }
        ASSERT_EQ(survey.peak.has_value(), row.Peak.has_value());
        if (row.Peak) {
            EXPECT_NEAR(*survey.peak, *row.Peak, *row.Peak / 25);
        }
        ASSERT_EQ(survey.speechLevelDbm0.has_value(), row.LevelDbm0.has_value());
        if (row.LevelDbm0) {
            EXPECT_NEAR(*survey.speechLevelDbm0, *row.LevelDbm0, 0.2);
        }
        if (row.Peak) {
            ASSERT_EQ(survey.waveform.size(), 64U);
            // A steady sine reaches near its peak in every column.
            for (const auto& [low, high] : survey.waveform) {
                EXPECT_LT(low, -*row.Peak * 9 / 10);
                EXPECT_GT(high, *row.Peak * 9 / 10);
            }
        } else {
            EXPECT_TRUE(survey.waveform.empty());
        }
    }
}

TEST(PromptSurvey, WhatIsNoWaveOrNoPromptIsToldApart) {
    ScratchFolder card;
    WriteFile(card.path() / "100.wav", {'n', 'o', 't', ' ', 'a', ' ', 'w', 'a', 'v', 'e'});
    WriteFile(card.path() / "102.wav", PcmWave({}));
    // Silence: a length, but no active speech.
    WriteFile(card.path() / "103.wav", PcmWave(std::vector<std::int32_t>(8000, 0)));

    const PromptSurvey text = surveyPrompt(card.prefix(), 0);
    EXPECT_EQ(text.state, PromptSurveyState::Unplayable);
    EXPECT_EQ(text.problem, "não é WAV");
    EXPECT_FALSE(text.seconds || text.sampleRate || text.peak || text.speechLevelDbm0);

    EXPECT_EQ(surveyPrompt(card.prefix(), 1).state, PromptSurveyState::Absent);

    const PromptSurvey empty = surveyPrompt(card.prefix(), 2);
    EXPECT_EQ(empty.state, PromptSurveyState::Ok);
    EXPECT_EQ(empty.seconds, 0.0);
    EXPECT_EQ(empty.peak, 0);
    EXPECT_TRUE(empty.waveform.empty());

    const PromptSurvey silence = surveyPrompt(card.prefix(), 3);
    EXPECT_EQ(silence.state, PromptSurveyState::Ok);
    EXPECT_EQ(silence.seconds, 1.0);
    EXPECT_EQ(silence.peak, 0);
    EXPECT_EQ(silence.speechLevelDbm0, std::nullopt);

    EXPECT_EQ(surveyPrompt(card.prefix(), 11).promptName, "") << "no such prompt";
}

}  // namespace
}  // namespace quorvel::test
